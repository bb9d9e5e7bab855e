#include "personas/PersonaWorld7.h"

#include "personas/MotorModel.h"
#include "personas/PersonaWorld4.h"
#include "personas/Sight.h"

#include "game/World.h"

namespace {

const int world = 7;
// The station that turns the ring yellow (241, 231, 76) is never in the middle column.
const unsigned outerColumns = 1u | 4u;
const ThreeFloats yellow(0.94509804f, 0.90588236f, 0.29803923f);
const float yellowSeen = 0.06f;
// Grown a little: half as big again, or no longer growing after this long.
const float grownBy = 1.5f;
const double growthWait = 2.0;
const double lingerBeyondReaction = 0.3;

bool ringIsYellow(const Sight &sight) {
  const SceneView::Ring *ring = sight.view().largestRing(world);
  return ring && World::colourDistance(ring->colour, yellow) < yellowSeen;
}

}  // namespace

PersonaWorld7::PersonaWorld7() : tour(outerColumns) {}

std::string PersonaWorld7::activity() const {
  switch (stage) {
    case Stage::steering: return "holding the mouse on the centre until the large ring is there";
    case Stage::growing: return "waiting for the large ring to grow";
    case Stage::touring: return "touring the outer stations until the large ring turns yellow";
    case Stage::circling: return "drawing circles";
  }
  return "";
}

void PersonaWorld7::awaitGrowth(const Sight &sight) {
  const SceneView::Ring *ring = sight.view().largestRing(world);
  const bool grown = ring && ring->radius >= radiusAtCentre * grownBy;
  if (grown || sight.now() - centredAt > growthWait) stage = Stage::touring;
}

void PersonaWorld7::act(const Sight &sight, MotorModel &hand) {
  switch (stage) {
    case Stage::steering:
      if (!PersonaWorld4::bringToCentre(sight, hand, world, restingSince)) return;
      stage = Stage::growing;
      radiusAtCentre = sight.view().largestRing(world)->radius;
      centredAt = sight.now();
      return;
    case Stage::growing: awaitGrowth(sight); return;
    case Stage::touring:
      if (ringIsYellow(sight)) break;
      tour.step(sight, hand, sight.reactionSeconds() + lingerBeyondReaction);
      return;
    case Stage::circling:
      // Not yellow after all: the colours only passed by it.
      if (!ringIsYellow(sight)) {
        stage = Stage::touring;
        return;
      }
      break;
  }
  stage = Stage::circling;
  hand.circleAround(sight.view().area * 0.5f);
}
