#pragma once

#include "personas/PersonaStrategy.h"

// The mirrored rings: puts the mouse on the screen centre and waits for the
// rings to come to it.
class PersonaWorld4 final : public PersonaStrategy {
 public:
  void act(const Sight &sight, MotorModel &hand) override;
  std::string activity() const override;

  // Brings the hand (at rest as a world begins) onto the centre and keeps it
  // there; true while the biggest ring is seen there. Should nothing change
  // for a while with the hand at rest, it nudges the mouse aside, as a player
  // does when a screen seems not to answer: a mouse at rest reports nothing.
  // restingSince is the caller's to keep.
  static bool bringToCentre(const Sight &sight, MotorModel &hand, double &restingSince);

 private:
  double restingSince = -1.0;
  bool arrived = false;
};
