#include "personas/PersonaWorld1.h"

#include "personas/MotorModel.h"
#include "personas/Sight.h"

namespace {

// Growth is judged over this much of what was seen.
const double growthWindow = 0.25;
// More than the game's slow shrink could make up: a few units of radius.
const float growthSeen = 2.0f;
// Long enough at a station to see the rings answer it.
const double lingerBeyondReaction = 0.4;
// No growth for this long beyond the reaction: it was not the place.
const double growthPatience = 1.0;
const float holdWidth = 32.0f;

}  // namespace

bool PersonaWorld1::growing(const Sight &sight, int world) {
  const SceneView::Ring *now = sight.view().largestRing(world);
  const SceneView::Ring *before = sight.view(growthWindow).largestRing(world);
  return now && before && now->radius > before->radius + growthSeen;
}

double PersonaWorld1::grownFor(const Sight &sight, int world) {
  double span = 0.0;
  for (double earlier = Sight::frameSeconds; earlier <= sight.memorySeconds(); earlier += Sight::frameSeconds) {
    const SceneView::Ring *later = sight.view(span).largestRing(world), *ring = sight.view(earlier).largestRing(world);
    if (!later || !ring || later->radius <= ring->radius) break;
    span = earlier;
  }
  return span;
}

std::string PersonaWorld1::activity() const {
  return holding ? "holding still where the rings grow" : "touring the colour stations";
}

void PersonaWorld1::act(const Sight &sight, MotorModel &hand) {
  if (growing(sight, 1)) {
    if (!holding) holdAt = (sight.handThen() + sight.handThen(grownFor(sight, 1))) * 0.5f;
    holding = true;
    lastGrowth = sight.now();
  }
  if (holding && sight.now() - lastGrowth > sight.reactionSeconds() + growthPatience) holding = false;
  if (holding) {
    hand.reachTo(holdAt, holdWidth);
    return;
  }
  tour.step(sight, hand, sight.reactionSeconds() + lingerBeyondReaction);
}
