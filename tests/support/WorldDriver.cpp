#include "support/WorldDriver.h"

#include "base/Random.h"

void WorldDriver::frames(World &world, int count) {
  for (int i = 0; i < count; ++i) {
    if (world.scale > 0.01f && world.scale < 0.66f) world.scale -= world.scale > 0.05f ? 0.001f : 0.00005f;
    world.subclassTick();
  }
}

int WorldDriver::framesUntilDone(World &world, int limit) {
  for (int frame = 1; frame <= limit; ++frame) {
    frames(world, 1);
    if (world.worldDone()) return frame;
  }
  return -1;
}

bool WorldDriver::stepRandomUntil(const std::function<bool(Random &next)> &wanted) {
  for (int tries = 0; tries < 100000; ++tries) {
    Random next(Random::getGlobal().getCounter());
    if (wanted(next)) return true;
    Random::getGlobal().nextUnit();
  }
  return false;
}

bool WorldDriver::onScreen(const TwoFloats &point, const TwoFloats &areaSize) {
  return point.x >= 0.0f && point.y >= 0.0f && point.x <= areaSize.x && point.y <= areaSize.y;
}
