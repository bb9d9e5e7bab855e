#pragma once

#include "personas/PersonaStrategy.h"

#include "personas/PixelEyes.h"

// The red flash: holds still until the rings are seen turning red, then
// shakes the mouse until they are seen back in their own colours. As people
// do with anything that comes in a beat, once it has seen two flashes it
// shakes in time with the next one, from just before it is due to when it
// should end, rather than a reaction time late. Should it see no flash at
// all for a while (rings too small to make out), it shakes on regardless.
class PersonaWorld3 final : public PersonaStrategy {
 public:
  void act(const Sight &sight, MotorModel &hand) override;
  std::string activity() const override;

 private:
  // Some ring looks red.
  static bool redSeen(const Glance &glance);
  // Notes when each flash seen began and how long it lasted, in the time the frame was shown.
  void learnBeat(double shownAt, bool red);
  bool flashDue(double now) const;

  bool seenRed = false;
  bool shaking = false;
  double startedAt = -1.0;
  double lastOnset = -1.0;
  double beatSeconds = -1.0;
  double flashSeconds = -1.0;
};
