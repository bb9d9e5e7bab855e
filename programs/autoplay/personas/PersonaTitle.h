#pragma once

#include "personas/PersonaStrategy.h"

#include "base/TwoFloats.h"

// The title screen: listens to the introduction until a line of text shows
// where none was before (the prompt), reaches for it and clicks; clicks
// again should the game not start. Should it make out no prompt at all (the
// writing too small), it clicks the middle of the screen now and then, as an
// impatient person does.
class PersonaTitle final : public PersonaStrategy {
 public:
  void act(const Sight &sight, MotorModel &hand) override;
  std::string activity() const override;
  // It has clicked the prompt at least once.
  bool clicked() const { return clickedAt >= 0.0 || clicks > 0; }

 private:
  // The box round every line of text seen before the prompt.
  bool anyKnown = false;
  TwoFloats knownMin, knownMax;
  bool promptSeen = false;
  TwoFloats prompt;
  float promptHeight = 0.0f;
  double clickedAt = -1.0;
  int clicks = 0;
};
