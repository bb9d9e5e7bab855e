#pragma once

#include "personas/PersonaStrategy.h"
#include "personas/ScreenSweep.h"

// The last world: holds the mouse on the centre until the large ring has
// come to it and the rings grow; once they have stopped growing, combs the
// screen until the ring grows well beyond that; then draws circles until the
// world is done.
class PersonaWorld7 final : public PersonaStrategy {
 public:
  void act(const Sight &sight, MotorModel &hand) override;
  std::string activity() const override;

 private:
  enum class Stage { steering, growing, combing, circling };

  Stage stage = Stage::steering;
  ScreenSweep comb;
  double restingSince = -1.0;
  float plateau = 0.0f;
  double lastGrowth = 0.0;
};
