#pragma once

#include "base/TwoFloats.h"

#include <cstdint>
#include <random>

struct Persona;

// A persona drawing circles round a centre at its own pace: each turn takes
// about its circle time (a few percent either way), the speed rises and falls
// within a turn, and the radius, chosen within its range, wobbles by about a
// tenth while staying within that range.
class CircleMotion {
 public:
  CircleMotion(const Persona &persona, const TwoFloats &centre, uint32_t seed);

  // Where the circle begins.
  TwoFloats start() const { return pointAt(0.0); }
  // On along the circle by that many seconds; the point reached.
  TwoFloats advance(double seconds);
  const TwoFloats &getCentre() const { return centre; }

 private:
  TwoFloats pointAt(double angle) const;
  void newTurn();

  const Persona &persona;
  TwoFloats centre;
  std::mt19937 random;
  float radius = 0.0f;
  double turnSeconds = 1.0;
  double angle = 0.0;
  double turnEnd = 0.0;
  double speedPhase = 0.0;
  double wobblePhase = 0.0;
};
