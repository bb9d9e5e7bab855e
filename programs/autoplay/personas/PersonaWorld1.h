#pragma once

#include "personas/PersonaStrategy.h"
#include "personas/PersonaTour.h"

#include "base/TwoFloats.h"

// The world's own colours: tours the colour stations, lingering at each to
// see the rings; when they grow, goes back to the middle of the way the hand
// went while they grew (the station's reach is round, so that middle lies
// within it) and holds still there. Tours on if they stop growing.
class PersonaWorld1 final : public PersonaStrategy {
 public:
  void act(const Sight &sight, MotorModel &hand) override;
  std::string activity() const override;

  // The rings of that world have grown over the last quarter second seen.
  static bool growing(const Sight &sight, int world);
  // How long, up to the latest screen seen, the rings of that world grew frame after frame.
  static double grownFor(const Sight &sight, int world);

 private:
  PersonaTour tour;
  bool holding = false;
  TwoFloats holdAt;
  double lastGrowth = 0.0;
};
