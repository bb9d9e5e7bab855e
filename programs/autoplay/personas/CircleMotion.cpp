#include "personas/CircleMotion.h"

#include "personas/Persona.h"

#include <algorithm>
#include <cmath>

namespace {

const double twoPi = 6.283185307179586;
// The radius swings by this share either way.
const float wobble = 0.1f;
// The speed within a turn swings by this share either way.
const double speedSwing = 0.15;
// Each turn's time lies within this share of the persona's.
const double paceSwing = 0.05;
// Wobbles of the radius per turn: not a whole number, so each turn differs.
const double wobblesPerTurn = 1.6;

}  // namespace

CircleMotion::CircleMotion(const Persona &persona, const TwoFloats &centre, uint32_t seed)
    : persona(persona), centre(centre), random(seed) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  // The middle radius leaves room for the wobble within the persona's range.
  const float low = persona.circleRadiusMin / (1.0f - wobble), high = persona.circleRadiusMax / (1.0f + wobble);
  radius = high > low ? low + (high - low) * static_cast<float>(unit(random))
                      : (persona.circleRadiusMin + persona.circleRadiusMax) * 0.5f;
  speedPhase = unit(random) * twoPi;
  wobblePhase = unit(random) * twoPi;
  newTurn();
}

void CircleMotion::newTurn() {
  std::uniform_real_distribution<double> swing(-paceSwing, paceSwing);
  turnSeconds = persona.circleSeconds * (1.0 + swing(random));
  turnEnd += twoPi;
}

TwoFloats CircleMotion::pointAt(double at) const {
  const float r = radius * (1.0f + wobble * static_cast<float>(std::sin(wobblesPerTurn * at + wobblePhase)));
  return centre + TwoFloats(static_cast<float>(std::cos(at)), static_cast<float>(std::sin(at))) * r;
}

TwoFloats CircleMotion::advance(double seconds) {
  // The swing of the speed would lengthen the turn by 1 / sqrt(1 - swing^2); the base rate makes up for it.
  const double baseRate = twoPi / (turnSeconds * std::sqrt(1.0 - speedSwing * speedSwing));
  // Midpoint steps of at most a millisecond keep each turn's time true.
  const int steps = std::max(1, static_cast<int>(std::ceil(seconds / 0.001)));
  const double step = seconds / steps;
  for (int i = 0; i < steps; ++i) {
    const double mid = angle + 0.5 * step * baseRate * (1.0 + speedSwing * std::cos(angle + speedPhase));
    angle += step * baseRate * (1.0 + speedSwing * std::cos(mid + speedPhase));
  }
  if (angle >= turnEnd) newTurn();
  return pointAt(angle);
}
