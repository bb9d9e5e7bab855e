#pragma once

#include "personas/PersonaStrategy.h"
#include "personas/ScreenSweep.h"

#include "base/ThreeFloats.h"
#include "base/TwoFloats.h"

// The hidden spot: combs the screen until the background has warmed (shifted
// from the colour it first showed) and begins to cool again, goes back to
// where it was warmest and holds still while the colours warm on by
// themselves; combs again if they go cold.
class PersonaWorld0 final : public PersonaStrategy {
 public:
  void act(const Sight &sight, MotorModel &hand) override;
  std::string activity() const override;

 private:
  enum class Phase { sweeping, returning, resting };
  void sweep(const Sight &sight, MotorModel &hand, float seenWarmth);
  void rest(const Sight &sight, float seenWarmth);

  Phase phase = Phase::sweeping;
  bool firstSeen = false;
  ThreeFloats first;
  ScreenSweep comb;
  float warmest = 0.0f;
  TwoFloats warmestAt;
  double coldSince = -1.0;
};
