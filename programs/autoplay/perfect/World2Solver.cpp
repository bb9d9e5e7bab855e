#include "perfect/World2Solver.h"

#include "game/World2.h"

World2Solver::World2Solver(World2 &world) : world(world), circles(160.0f, 28) {}

void World2Solver::play(Hand &hand) { circles.step(hand, world.screenCentre()); }
