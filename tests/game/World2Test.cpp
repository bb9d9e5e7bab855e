#include "game/World2.h"

#include <gtest/gtest.h>

TEST(World2, AStillOrJumpingMouseNeverGrowsIt) {
  World2 world;
  world.mouseMove(TwoFloats(900, 100));
  for (int frame = 0; frame < 100; ++frame) {
    if (frame == 50) world.mouseMove(TwoFloats(100, 600));
    world.subclassTick();
  }
  EXPECT_EQ(world.scale, 0.05f);
}
