#include "personas/PersonaWorld0.h"

#include "personas/MotorModel.h"
#include "personas/Sight.h"

#include "game/World.h"

#include <algorithm>
#include <cmath>

namespace {

// The colours' look, from grey (115, 115, 115) to the warm red.
const ThreeFloats cool(0.4509804f, 0.4509804f, 0.4509804f);
const ThreeFloats warm(0.8f, 0.15f, 0.1f);
// The sweep's ring: between the nearest and farthest places of the spot.
const float sweepRadius = 308.0f;
const int sweepSteps = 16;
const float sweepWidth = 100.0f;
// Keeps the sweep off the very edge of the screen.
const float edge = 8.0f;
const float warmthNoticed = 0.08f;
// Cooler than the warmest by this much: the spot has been passed.
const float passedBy = 0.1f;
// Gone this cold while holding still for this long beyond the reaction: lost.
const float cold = 0.03f;
const double coldPatience = 1.0;
const float restWidth = 32.0f;

}  // namespace

float PersonaWorld0::warmth(const ThreeFloats &background) {
  const float w = ((background.x - cool.x) / (warm.x - cool.x) + (background.y - cool.y) / (warm.y - cool.y) +
                   (background.z - cool.z) / (warm.z - cool.z)) /
                  3.0f;
  return std::clamp(w, 0.0f, 1.0f);
}

std::string PersonaWorld0::activity() const {
  switch (phase) {
    case Phase::fadingIn: return "waiting for the fade-in";
    case Phase::sweeping: return "sweeping round the centre for warmth";
    case Phase::returning: return "going back to where it was warmest";
    case Phase::resting: return "holding still where it is warm";
  }
  return "";
}

void PersonaWorld0::act(const Sight &sight, MotorModel &hand) {
  const SceneView &seen = sight.view();
  const float seenWarmth = warmth(seen.background);
  if (seen.cover > 0.0f) {
    phase = Phase::fadingIn;
    return;
  }
  switch (phase) {
    case Phase::fadingIn: phase = Phase::sweeping; [[fallthrough]];
    case Phase::sweeping: sweep(sight, hand, seenWarmth); break;
    case Phase::returning:
      hand.reachTo(warmestAt, restWidth);
      if (hand.resting()) phase = Phase::resting;
      break;
    case Phase::resting: rest(sight, seenWarmth); break;
  }
}

void PersonaWorld0::sweep(const Sight &sight, MotorModel &hand, float seenWarmth) {
  if (seenWarmth > warmest) {
    warmest = seenWarmth;
    warmestAt = sight.handThen();
  }
  if (warmest >= warmthNoticed && seenWarmth < warmest - passedBy) {
    phase = Phase::returning;
    return;
  }
  const TwoFloats &area = sight.view().area, centre = area * 0.5f;
  // Into the ring where the hand is nearest to it.
  if (sweepAngle < 0.0f) {
    const TwoFloats from = hand.position() - centre;
    sweepAngle = std::atan2(from.x, from.y) + 6.2831853f;
  }
  const TwoFloats onRing = centre + TwoFloats(std::sin(sweepAngle), std::cos(sweepAngle)) * sweepRadius;
  const TwoFloats target(std::clamp(onRing.x, edge, area.x - edge), std::clamp(onRing.y, edge, area.y - edge));
  hand.reachTo(target, sweepWidth);
  if (hand.resting()) sweepAngle += 6.2831853f / sweepSteps;
}

void PersonaWorld0::rest(const Sight &sight, float seenWarmth) {
  if (seenWarmth >= cold) {
    coldSince = -1.0;
    return;
  }
  if (coldSince < 0.0) coldSince = sight.now();
  if (sight.now() - coldSince < sight.reactionSeconds() + coldPatience) return;
  phase = Phase::sweeping;
  warmest = 0.0f;
  coldSince = -1.0;
}
