#pragma once

#include "personas/PersonaStrategy.h"
#include "personas/ScreenSweep.h"

// Three rings, three stations: combs the screen until the world is done,
// each ring finding its own station as the hand passes it.
class PersonaWorld6 final : public PersonaStrategy {
 public:
  void act(const Sight &sight, MotorModel &hand) override;
  std::string activity() const override { return "combing the screen, ring by ring"; }

 private:
  ScreenSweep comb;
};
