#pragma once

#include "personas/PersonaStrategy.h"
#include "personas/ScreenSweep.h"

#include "base/TwoFloats.h"

// The colour stations: combs the screen, lingering at each stop, until the
// rings grow; then holds still where the hand was as they began to grow,
// and combs on if they stop growing.
class PersonaWorld1 final : public PersonaStrategy {
 public:
  void act(const Sight &sight, MotorModel &hand) override;
  std::string activity() const override;

 private:
  ScreenSweep comb;
  bool holding = false;
  TwoFloats holdAt;
  double lastGrowth = 0.0;
};
