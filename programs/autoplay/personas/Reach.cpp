#include "personas/Reach.h"

#include "personas/Persona.h"

#include "game/World.h"

#include <algorithm>
#include <cmath>

namespace {

// How far past the landing point the first stroke goes, as a share of the way.
const double overshootMin = 0.02;
const double overshootMax = 0.06;
// Nearer than this, a hand just shifts onto its target without overshooting.
const float shortReach = 2.0f;

// Minimum jerk: the share of the way covered at a share of the time.
double minimumJerk(double tau) { return tau * tau * tau * (10.0 + tau * (-15.0 + tau * 6.0)); }

}  // namespace

Reach::Reach(const Persona &persona, const TwoFloats &from, const TwoFloats &target, float width, std::mt19937 &random,
             double start)
    : origin(from), aim(target), rest(from), begin(start) {
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  // A hand lands anywhere on a target, not on its middle.
  const float angle = unit(random) * 6.2831853f, miss = std::sqrt(unit(random)) * width * 0.25f;
  rest = target + TwoFloats(std::cos(angle), std::sin(angle)) * miss;
  const float distance = World::distance(from, rest);
  double t = start;
  if (distance < shortReach) {
    addStrokes(persona, from, rest, width, t);
    return;
  }
  const float overshoot =
      static_cast<float>(overshootMin + (overshootMax - overshootMin) * static_cast<double>(unit(random)));
  const TwoFloats beyond = from + (rest - from) * (1.0f + overshoot);
  addStrokes(persona, from, beyond, width, t);
  addStrokes(persona, beyond, rest, width, t);
}

double Reach::strokeSeconds(const Persona &persona, float distance, float width) {
  const double fitts = fittsIntercept + fittsSlope * std::log2(distance / std::max(width, 1.0f) + 1.0);
  return std::max(fitts, minimumJerkPeak * distance / persona.peakSpeed);
}

void Reach::addStrokes(const Persona &persona, const TwoFloats &from, const TwoFloats &to, float width, double &t) {
  const float distance = World::distance(from, to);
  if (distance <= 0.0f) return;
  const int count = persona.strokeLength > 0.0f ? static_cast<int>(std::ceil(distance / persona.strokeLength)) : 1;
  for (int i = 0; i < count; ++i) {
    // The finger lifts and comes down again where the last stroke ended.
    if (i > 0) t += persona.liftSeconds;
    const TwoFloats a = from + (to - from) * (static_cast<float>(i) / count);
    const TwoFloats b = from + (to - from) * (static_cast<float>(i + 1) / count);
    const double seconds = strokeSeconds(persona, distance / count, width);
    strokes.push_back(Stroke{t, seconds, a, b});
    t += seconds;
  }
}

TwoFloats Reach::at(double seconds) const {
  if (strokes.empty() || seconds <= strokes.front().start) return origin;
  auto stroke =
      std::upper_bound(strokes.begin(), strokes.end(), seconds, [](double t, const Stroke &s) { return t < s.start; });
  const Stroke &s = *(stroke - 1);
  if (seconds >= s.start + s.seconds) return s.to;
  return s.from + (s.to - s.from) * static_cast<float>(minimumJerk((seconds - s.start) / s.seconds));
}

bool Reach::lifted(double seconds) const {
  for (size_t i = 0; i + 1 < strokes.size(); ++i) {
    if (seconds > strokes[i].start + strokes[i].seconds && seconds < strokes[i + 1].start) return true;
  }
  return false;
}

double Reach::end() const { return strokes.empty() ? begin : strokes.back().start + strokes.back().seconds; }
