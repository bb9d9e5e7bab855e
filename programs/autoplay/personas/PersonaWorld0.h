#pragma once

#include "personas/PersonaStrategy.h"

#include "base/ThreeFloats.h"
#include "base/TwoFloats.h"

// The hidden spot: once the world has faded in, sweeps a ring round the
// screen centre (the spot lies 256 to 360 units out, and the colours warm
// within 256 of it) until the colours have warmed and begin to cool again,
// goes back to where it was warmest and holds still while the colours warm
// on by themselves; sweeps again if they go cold.
class PersonaWorld0 final : public PersonaStrategy {
 public:
  void act(const Sight &sight, MotorModel &hand) override;
  std::string activity() const override;

  // How warm a background looks, from 0 (grey) to 1 (the warm red).
  static float warmth(const ThreeFloats &background);

 private:
  enum class Phase { fadingIn, sweeping, returning, resting };
  void sweep(const Sight &sight, MotorModel &hand, float seenWarmth);
  void rest(const Sight &sight, float seenWarmth);

  Phase phase = Phase::fadingIn;
  float sweepAngle = -1.0f;
  float warmest = 0.0f;
  TwoFloats warmestAt;
  double coldSince = -1.0;
};
