#include "perfect/World6Solver.h"

#include "game/World6.h"

World6Solver::World6Solver(World6 &world) : world(world) {}

std::string World6Solver::stage() const {
  if (world.stage >= 3) return "waiting while the world grows";
  return "visiting the stations for ring " + std::to_string(world.stage);
}

void World6Solver::play(Hand &hand) {
  if (world.stage < 3) tour.step(hand, world.drawingAreaSize);
}
