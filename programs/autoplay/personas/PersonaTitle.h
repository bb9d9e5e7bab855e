#pragma once

#include "personas/PersonaStrategy.h"

// The title screen: listens to the introduction until the prompt shows,
// reaches for it and clicks; clicks again should the game not start.
class PersonaTitle final : public PersonaStrategy {
 public:
  void act(const Sight &sight, MotorModel &hand) override;
  std::string activity() const override;

 private:
  bool promptSeen = false;
  double clickedAt = -1.0;
};
