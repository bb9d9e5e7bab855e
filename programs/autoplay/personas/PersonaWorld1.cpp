#include "personas/PersonaWorld1.h"

#include "personas/MotorModel.h"
#include "personas/ScreenChanges.h"
#include "personas/Sight.h"

namespace {

// Long enough at a stop to see the rings answer it.
const double lingerBeyondReaction = 0.4;
// No growth for this long beyond the reaction: it was not the place.
const double growthPatience = 1.0;
const float holdWidth = 32.0f;

}  // namespace

std::string PersonaWorld1::activity() const {
  return holding ? "holding still where the rings grow" : "combing the screen for where the rings grow";
}

void PersonaWorld1::act(const Sight &sight, MotorModel &hand) {
  if (ScreenChanges::growing(sight)) {
    // Where the hand was, a reaction ago, from the growth's beginning to now.
    if (!holding)
      holdAt = (sight.handAbout(sight.reactionSeconds()) +
                sight.handAbout(sight.reactionSeconds() + ScreenChanges::grownFor(sight))) *
               0.5f;
    holding = true;
    lastGrowth = sight.now();
  }
  if (holding && sight.now() - lastGrowth > sight.reactionSeconds() + growthPatience) holding = false;
  if (holding) {
    hand.reachTo(holdAt, holdWidth);
    return;
  }
  comb.step(sight, hand, sight.reactionSeconds() + lingerBeyondReaction);
}
