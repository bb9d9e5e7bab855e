#include "game/World2.h"

#include "support/WorldDriver.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(World2, AStillOrJumpingMouseNeverGrowsIt) {
  World2 world;
  world.mouseMove(TwoFloats(900, 100));
  for (int frame = 0; frame < 100; ++frame) {
    if (frame == 50) world.mouseMove(TwoFloats(100, 600));
    world.subclassTick();
  }
  EXPECT_EQ(world.scale, 0.05f);
}

// Circles as people draw them, brisk to slow, against the gameplay's shrink.
TEST(World2, CirclesOfEveryPaceFinishIt) {
  for (const float secondsPerTurn : {0.4f, 1.0f, 1.5f}) {
    World2 world;
    int frame = 0;
    for (; frame < 3000 && !world.worldDone(); ++frame) {
      const float turns = frame / (secondsPerTurn * 60.0f);
      const float angle = (turns + 0.04f * std::sin(turns * 6.2831853f)) * 6.2831853f;
      world.mouseMove(TwoFloats(640, 360) + TwoFloats(std::cos(angle), std::sin(angle)) * 150.0f);
      WorldDriver::frames(world, 1);
    }
    // About 410 frames of circling once the detector has seen a turn.
    EXPECT_LT(frame, 410 + 130) << secondsPerTurn << " s a turn";
  }
}
