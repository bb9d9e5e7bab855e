#include "personas/PersonaWorld7.h"

#include "personas/MotorModel.h"
#include "personas/PersonaWorld4.h"
#include "personas/ScreenChanges.h"
#include "personas/Sight.h"

namespace {

// The ring's growth has stopped for this long.
const double stillFor = 0.6;
const double lingerBeyondReaction = 0.3;
// Grown this much beyond where it stopped: a new stage, not a flicker of the eyes.
const float grownBy = 1.3f;

}  // namespace

std::string PersonaWorld7::activity() const {
  switch (stage) {
    case Stage::steering: return "holding the mouse on the centre until the rings grow";
    case Stage::growing: return "waiting for the large ring to stop growing";
    case Stage::combing: return "combing the screen until the large ring grows again";
    case Stage::circling: return "drawing circles";
  }
  return "";
}

void PersonaWorld7::act(const Sight &sight, MotorModel &hand) {
  // The large ring stays on the centre once it is there; the others pass over it.
  const TwoFloats centre = sight.view().area * 0.5f;
  const bool growing = ScreenChanges::growingAt(sight, centre);
  if (growing) lastGrowth = sight.now();
  const float radius = ScreenChanges::largestRadius(sight.view(), centre);
  switch (stage) {
    case Stage::steering:
      // The large ring has reached the centre when the rings begin to grow.
      PersonaWorld4::bringToCentre(sight, hand, restingSince);
      if (growing) stage = Stage::growing;
      return;
    case Stage::growing:
      if (sight.now() - lastGrowth < stillFor) return;
      stage = Stage::combing;
      plateau = radius;
      return;
    case Stage::combing:
      // Grown well beyond where it stopped: the place is found, and it stays found.
      if (radius < plateau * grownBy) {
        comb.step(sight, hand, sight.reactionSeconds() + lingerBeyondReaction);
        return;
      }
      stage = Stage::circling;
      break;
    case Stage::circling: break;
  }
  hand.circleAround(centre);
}
