#include "perfect/World7Solver.h"

#include "harness/Hand.h"
#include "perfect/MirrorSteering.h"

#include "game/World7.h"

World7Solver::World7Solver(World7 &world) : world(world), circles(160.0f, 28) {}

std::string World7Solver::stage() const {
  switch (world.stage) {
    case 0: return "steering ring 0 to the centre";
    case 1: return "looking for the station that turns ring 0 yellow";
    case 2: return "drawing circles";
    default: return "finished";
  }
}

void World7Solver::play(Hand &hand) {
  switch (world.stage) {
    case 0: {
      const TwoFloats ring = world.planeToScreen(world.ringPositions[0]);
      hand.moveToward(MirrorSteering::mouseFor(ring, world.screenCentre(), world.drawingAreaSize, 0.05f));
      break;
    }
    case 1: tour.step(hand, world.drawingAreaSize); break;
    case 2: circles.step(hand, world.screenCentre()); break;
    default: break;
  }
}
