#include "perfect/World1Solver.h"

#include "game/World1.h"

namespace {

// More than the gameplay's shrink of 0.001 a frame can explain: the world grew.
const float growthSeen = 0.001f;

}  // namespace

World1Solver::World1Solver(World1 &world) : world(world) {}

std::string World1Solver::stage() const {
  return growing ? "holding still at the station that grows the world" : "looking for the station";
}

void World1Solver::play(Hand &hand) {
  growing = lastScale >= 0.0f && world.scale > lastScale + growthSeen;
  lastScale = world.scale;
  if (!growing) tour.step(hand, world.drawingAreaSize);
}
