#include "personas/ScreenChanges.h"

#include "personas/Sight.h"

#include <algorithm>
#include <cmath>

namespace {

// More than the game's slow shrink could make up: a few units of radius.
const float growthSeen = 3.0f;
// A colour shift plain to see: a couple of just-noticeable differences.
const float shiftSeen = 5.0f;
// Still: under a just-noticeable difference.
const float stillColour = PixelEyes::JustNoticeable;
// A disc that has moved no further than this is still the same one.
const float sameDiscDrift = 20.0f;
// A disc centred this near a point is the one there.
const float nearPoint = 24.0f;
// A journey's colours blend slowly: this much of it still before judging.
const double settleSeconds = 0.4;

ThreeFloats labOf(const ThreeFloats &colour) {
  auto byte = [](float c) { return static_cast<uint8_t>(std::lround(std::fmin(std::fmax(c, 0.0f), 1.0f) * 255.0f)); };
  return PixelEyes::lab(byte(colour.x), byte(colour.y), byte(colour.z));
}

}  // namespace

float ScreenChanges::largestRadius(const Glance &glance) {
  return glance.discCount > 0 ? glance.discs[0].radius : 0.0f;
}

float ScreenChanges::largestRadius(const Glance &glance, const TwoFloats &at) {
  for (int i = 0; i < glance.discCount; ++i) {
    const Glance::Disc &disc = glance.discs[static_cast<size_t>(i)];
    if ((disc.centre - at).length() < nearPoint) return disc.radius;
  }
  return 0.0f;
}

float ScreenChanges::steadyRadius(const Sight &sight, double earlier, const TwoFloats *at) {
  float r[3];
  for (int i = 0; i < 3; ++i) {
    const Glance &glance = sight.view(earlier + i * Sight::frameSeconds);
    r[i] = at ? largestRadius(glance, *at) : largestRadius(glance);
  }
  return std::max(std::min(r[0], r[1]), std::min(std::max(r[0], r[1]), r[2]));
}

float ScreenChanges::colourDifference(const ThreeFloats &a, const ThreeFloats &b) {
  return PixelEyes::difference(labOf(a), labOf(b));
}

bool ScreenChanges::growing(const Sight &sight) { return grew(sight, nullptr); }

bool ScreenChanges::growingAt(const Sight &sight, const TwoFloats &at) { return grew(sight, &at); }

bool ScreenChanges::grew(const Sight &sight, const TwoFloats *at) {
  // Seen all along, and larger at every step: a disc that was hidden and is seen again has not grown.
  const float before = steadyRadius(sight, window, at), middle = steadyRadius(sight, window * 0.5, at),
              now = steadyRadius(sight, 0.0, at);
  if (!(before > 0.0f && middle > before && now > middle && now > before + growthSeen)) return false;
  // The same disc, not another one that has become the biggest: it has stayed about where it was.
  const Glance &a = sight.view(), &b = sight.view(window);
  if (at) return true;
  return a.discCount > 0 && b.discCount > 0 &&
         (a.discs[0].centre - b.discs[0].centre).length() < std::max(sameDiscDrift, a.discs[0].radius * 0.5f);
}

bool ScreenChanges::shrinking(const Sight &sight) {
  const float before = steadyRadius(sight, window, nullptr), middle = steadyRadius(sight, window * 0.5, nullptr),
              now = steadyRadius(sight, 0.0, nullptr);
  return now > 0.0f && middle < before && now < middle && now < before - growthSeen;
}

double ScreenChanges::grownFor(const Sight &sight) {
  double span = 0.0;
  for (double earlier = Sight::frameSeconds; earlier <= sight.memorySeconds(); earlier += Sight::frameSeconds) {
    if (largestRadius(sight.view(span)) <= largestRadius(sight.view(earlier))) break;
    span = earlier;
  }
  return span;
}

bool ScreenChanges::recoloured(const Sight &sight) {
  const Glance &now = sight.view(), &before = sight.view(window);
  if (colourDifference(now.background, before.background) >= shiftSeen) return true;
  return now.discCount > 0 && before.discCount > 0 &&
         colourDifference(now.discs[0].colour, before.discs[0].colour) >= shiftSeen;
}

bool ScreenChanges::settled(const Sight &sight) {
  for (double earlier = 0.0; earlier <= settleSeconds; earlier += 0.1) {
    const Glance &then = sight.view(earlier);
    if (flashing(then) || colourDifference(then.background, sight.view().background) >= stillColour) return false;
  }
  return true;
}
