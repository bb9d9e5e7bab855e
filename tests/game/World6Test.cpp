#include "game/World6.h"

#include "support/WorldDriver.h"

#include <gtest/gtest.h>

namespace {

TEST(World6, EachRingHasItsOwnStation) {
  for (int i = 0; i < 20; ++i) {
    World6 world;
    for (int k = 0; k < 3; ++k) {
      const int column = static_cast<int>((world.spots[k].x - 64) / 576);
      const int row = static_cast<int>((world.spots[k].y - 64) / 296);
      EXPECT_TRUE(World::sameColour(world.stationColours[row][column][k], world.ownRingColours[k]));
      for (int other = 0; other < k; ++other) EXPECT_FALSE(World::samePoint(world.spots[k], world.spots[other]));
    }
    EXPECT_GE(World::distance(world.mousePosition, world.spots[0]), 192.0f);
    // Unsolved rings 1 and 2 show the complements of their own colours.
    EXPECT_FLOAT_EQ(world.ringColours[2].x, 1.0f - world.ownRingColours[2].x);
  }
}

TEST(World6, TheRingsAreSolvedInTurnAndTheSizeCapFollowsTheStage) {
  World6 world;
  WorldDriver::frames(world, 50);
  EXPECT_EQ(world.stage, 0);
  EXPECT_FLOAT_EQ(world.scale, 0.1f);

  const float caps[3] = {0.28f, 0.46f, 0.66f};
  for (int k = 0; k < 3; ++k) {
    world.mouseMove(world.spots[k] + TwoFloats(0, 255));
    WorldDriver::frame(world);
    EXPECT_EQ(world.stage, k + 1);
    EXPECT_TRUE(World::sameColour(world.ringColours[k], world.ownRingColours[k]));
    WorldDriver::frames(world, 100);
    EXPECT_NEAR(world.scale, caps[k], 0.0101f) << k;
    EXPECT_EQ(world.worldDone(), k == 2);
  }
  world.mouseMove(TwoFloats(0, 0));
  WorldDriver::frames(world, 10);
  EXPECT_TRUE(world.worldDone());
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(World::sameColour(world.ringColours[k], world.ownRingColours[k]));
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

}  // namespace
