#pragma once

#include "personas/PersonaStrategy.h"

#include "base/ThreeFloats.h"

// The red flash: holds still until the rings are seen changing colour, then
// shakes the mouse until they are seen back in their own colours. As people
// do with anything that comes in a beat, once it has seen two flashes it
// shakes in time with the next one, from just before it is due to when it
// should end, rather than a reaction time late.
class PersonaWorld3 final : public PersonaStrategy {
 public:
  void act(const Sight &sight, MotorModel &hand) override;
  std::string activity() const override;

 private:
  // How far the biggest ring has gone from its own colour (CIE76).
  float shift(const Sight &sight) const;
  // Notes when each flash seen began and how long it lasted, in the time the frame was shown.
  void learnBeat(double shownAt, bool red);
  bool flashDue(double now) const;

  // The biggest ring's own colour, as first seen.
  ThreeFloats resting;
  bool restingSeen = false;
  bool seenRed = false;
  bool shaking = false;
  double lastOnset = -1.0;
  double beatSeconds = -1.0;
  double flashSeconds = -1.0;
};
