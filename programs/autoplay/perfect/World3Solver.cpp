#include "perfect/World3Solver.h"

#include "harness/Hand.h"

#include "game/World3.h"

#include <algorithm>

namespace {

// Each jerk must cover more than 64 units.
const float shakeReach = 48.0f;

}  // namespace

World3Solver::World3Solver(World3 &world, int flashesToWatch) : world(world), flashesToWatch(flashesToWatch) {}

std::string World3Solver::stage() const {
  if (flashesToWatch > 0) return "watching the red flashes go by";
  return shaking ? "shaking the mouse during the red flash" : "keeping still until the red flash";
}

void World3Solver::play(Hand &hand) {
  const bool flashing = world.flashPhase > 0.0f;
  if (flashSeen && !flashing && flashesToWatch > 0) --flashesToWatch;
  flashSeen = flashing;
  if (!flashing || flashesToWatch > 0) {
    shaking = false;
    return;
  }
  if (!shaking) {
    shaking = true;
    // Room to shake on either side, whatever the hand's place.
    const TwoFloats &area = world.drawingAreaSize;
    shakeCentre =
        TwoFloats(std::clamp(hand.position().x, shakeReach + 2.0f, area.x - shakeReach - 2.0f), hand.position().y);
  }
  shakeRight = !shakeRight;
  hand.moveTo(shakeCentre + TwoFloats(shakeRight ? shakeReach : -shakeReach, 0.0f));
}
