#include "World4Solver.h"

#include "Hand.h"
#include "MirrorSteering.h"

#include "game/World4.h"

World4Solver::World4Solver(World4 &world) : world(world) {}

void World4Solver::play(Hand &hand) {
  hand.moveToward(MirrorSteering::mouseFor(world.ringCentre, world.screenCentre(), world.drawingAreaSize, 0.05f));
}
