#include "game/World5.h"

#include "support/WorldDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(World5, JumpsLandFarFromTheCentreEvery10To39Frames) {
  for (float height : {540.0f, 720.0f}) {
    World5 world;
    world.drawingAreaSize = TwoFloats(1280, height);
    world.subclassTick();  // the first jump
    TwoFloats target = world.jumpTarget;
    int sinceJump = 0, shortest = 1000, longest = 0;
    for (int frame = 0; frame < 2000; ++frame, ++sinceJump) {
      world.subclassTick();
      if (World::samePoint(target, world.jumpTarget)) continue;
      target = world.jumpTarget;
      EXPECT_GE(World::distance(target, world.screenCentre()), 256.0f) << height;
      EXPECT_TRUE(WorldDriver::onScreen(target, world.drawingAreaSize)) << height;
      shortest = std::min(shortest, sinceJump + 1);
      longest = std::max(longest, sinceJump + 1);
      sinceJump = -1;
    }
    EXPECT_GE(shortest, 10);
    EXPECT_LE(longest, 39);
    EXPECT_GT(longest, shortest);
  }
}

TEST(World5, OnlySlowSmallMovesCalmItAndCalmHoldsFor30Frames) {
  struct Case {
    float step, progressAfterTenMoves;
  };
  for (const Case &c : {Case{0, 0.05f}, Case{3.9f, 0.05f}, Case{4, 0}, Case{50, 0}}) {
    World5 world;
    for (int i = 1; i <= 10; ++i) world.mouseMove(TwoFloats(640 + c.step * i, 360));
    EXPECT_NEAR(world.progress, c.progressAfterTenMoves, 1e-5f) << c.step;
    WorldDriver::frames(world, 30);
    EXPECT_NEAR(world.progress, c.progressAfterTenMoves, 1e-5f) << c.step;
    WorldDriver::frames(world, 4);
    EXPECT_NEAR(world.progress, std::max(0.0f, c.progressAfterTenMoves - 0.02f), 1e-5f) << c.step;
  }
}
