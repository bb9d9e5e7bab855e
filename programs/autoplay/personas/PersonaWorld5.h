#pragma once

#include "personas/PersonaStrategy.h"

// The jumping rings: calms them with slow, small drifting moves until the world is done.
class PersonaWorld5 final : public PersonaStrategy {
 public:
  void act(const Sight &sight, MotorModel &hand) override;
  std::string activity() const override { return "calming the rings with slow, small moves"; }
};
