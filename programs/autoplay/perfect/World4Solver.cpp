#include "perfect/World4Solver.h"

#include "harness/Hand.h"
#include "perfect/MirrorSteering.h"

#include "game/World4.h"

World4Solver::World4Solver(World4 &world) : world(world) {}

void World4Solver::play(Hand &hand) {
  hand.moveToward(MirrorSteering::mouseFor(world.ringCentre, world.screenCentre(), world.drawingAreaSize, 0.05f));
}
