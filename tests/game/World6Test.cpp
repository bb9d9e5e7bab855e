#include "game/World6.h"

#include "support/WorldDriver.h"

#include <gtest/gtest.h>

TEST(World6, TheRingsAreSolvedInTurnAndTheSizeCapFollowsTheStage) {
  World6 world;
  // Far from the first spot (the mouse may start within 256 of it).
  world.mouseMove(world.spots[0].x < 640 ? TwoFloats(1280, 720) : TwoFloats(0, 720));
  WorldDriver::frames(world, 50);
  EXPECT_EQ(world.stage, 0);
  EXPECT_FLOAT_EQ(world.scale, 0.1f);
  const float caps[3] = {0.28f, 0.46f, 0.66f};
  for (int k = 0; k < 3; ++k) {
    world.mouseMove(world.spots[k]);
    WorldDriver::frames(world, 1);
    EXPECT_EQ(world.stage, k + 1);
    EXPECT_TRUE(World::sameColour(world.ringColours[k], world.ownRingColours[k]));
    WorldDriver::frames(world, 100);
    EXPECT_NEAR(world.scale, caps[k], 0.0101f) << k;
    EXPECT_EQ(world.worldDone(), k == 2);
  }
}

TEST(World6, SpotsCloseTogetherAdvanceOnConsecutiveFramesWithoutAMove) {
  World6 world;
  world.spots = {TwoFloats(64, 212), TwoFloats(64, 212), TwoFloats(64, 212)};
  world.mouseMove(TwoFloats(64, 212));
  for (int frame = 1; frame <= 3; ++frame) {
    world.subclassTick();
    EXPECT_EQ(world.stage, frame);
  }
}
