#pragma once

#include "personas/PersonaStrategy.h"
#include "personas/PersonaTour.h"

// The last world: holds the mouse on the centre until the largest ring has
// come to it; once the ring has grown a little, tours the stations of the
// outer columns until it turns yellow; then draws circles until the world is
// done.
class PersonaWorld7 final : public PersonaStrategy {
 public:
  PersonaWorld7();

  void act(const Sight &sight, MotorModel &hand) override;
  std::string activity() const override;

 private:
  enum class Stage { steering, growing, touring, circling };
  void awaitGrowth(const Sight &sight);

  Stage stage = Stage::steering;
  PersonaTour tour;
  double restingSince = -1.0;
  float radiusAtCentre = 0.0f;
  double centredAt = 0.0;
};
