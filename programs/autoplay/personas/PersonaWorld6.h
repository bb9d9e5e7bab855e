#pragma once

#include "personas/PersonaStrategy.h"
#include "personas/PersonaTour.h"

// Three rings, three stations: tours the stations until the world is done.
// Each time the world is seen to grow, a ring has found its station and the
// next one may lie at any station, already visited or not: a new round.
class PersonaWorld6 final : public PersonaStrategy {
 public:
  void act(const Sight &sight, MotorModel &hand) override;
  std::string activity() const override { return "touring the colour stations, ring by ring"; }

 private:
  PersonaTour tour;
  bool wasGrowing = false;
};
