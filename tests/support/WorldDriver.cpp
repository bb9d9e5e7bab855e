#include "support/WorldDriver.h"

#include "game/Random.h"

namespace WorldDriver {

void frame(World &world) {
  if (world.scale > 0.01f && world.scale < 0.66f) world.scale -= world.scale > 0.05f ? 0.001f : 0.00005f;
  world.subclassTick();
}

void frames(World &world, int count) {
  for (int i = 0; i < count; ++i) frame(world);
}

bool stepRandomUntil(const std::function<bool(Random &next)> &wanted) {
  for (int tries = 0; tries < 100000; ++tries) {
    Random next(Random::getGlobal().getCounter());
    if (wanted(next)) return true;
    Random::getGlobal().nextUnit();
  }
  return false;
}

bool onScreen(const TwoFloats &point, const TwoFloats &areaSize) {
  return point.x >= 0.0f && point.y >= 0.0f && point.x <= areaSize.x && point.y <= areaSize.y;
}

}  // namespace WorldDriver
