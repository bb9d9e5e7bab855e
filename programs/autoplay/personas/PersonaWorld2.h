#pragma once

#include "personas/PersonaStrategy.h"

// Draws circles round the screen centre at the persona's own pace until the world is done.
class PersonaWorld2 final : public PersonaStrategy {
 public:
  void act(const Sight &sight, MotorModel &hand) override;
  std::string activity() const override { return "drawing circles"; }
};
