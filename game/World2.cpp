#include "game/World2.h"

World2::World2()
    : World(ThreeFloats(0.5254902f, 0.6745098f, 0.53333336f), ThreeFloats(0.6666667f, 0.39215687f, 0.0f),
            ThreeFloats(0.05490196f, 0.3254902f, 0.019607844f), ThreeFloats(0.72156864f, 0.08235294f, 0.0f),
            ThreeFloats(1.0f, 0.94f, 0.6f), TwoFloats(2640.0f, 720.0f)) {}

void World2::subclassTick() {
  if (!detector.update()) return;
  if (scale < 0.66f) scale += 0.0025f;
  if (scale >= 0.66f) done = true;
}
