#include "game/World5.h"

#include "support/WorldDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(World5, JumpsLandFarFromTheCentreEvery10To39Frames) {
  for (float height : {540.0f, 720.0f, 960.0f}) {
    World5 world;
    world.drawingAreaSize = TwoFloats(1280, height);
    TwoFloats target = world.jumpTarget;
    int sinceJump = 0, jumps = 0, shortest = 1000, longest = 0;
    for (int frame = 0; frame < 3000; ++frame) {
      world.subclassTick();
      ++sinceJump;
      if (World::samePoint(target, world.jumpTarget)) continue;
      target = world.jumpTarget;
      EXPECT_GE(World::distance(target, world.screenCentre()), 256.0f) << height;
      EXPECT_TRUE(WorldDriver::onScreen(target, world.drawingAreaSize)) << height;
      // The first jump comes on the first frame.
      if (jumps++ > 0) {
        shortest = std::min(shortest, sinceJump);
        longest = std::max(longest, sinceJump);
      }
      sinceJump = 0;
    }
    EXPECT_GE(shortest, 10);
    EXPECT_LE(longest, 39);
    EXPECT_GT(jumps, 3000 / 39);
  }
}

TEST(World5, OnlySlowSmallMovesCalmIt) {
  struct Case {
    float step;
    float progressAfterTenMoves;
  };
  const Case cases[] = {{0, 0.05f}, {3.9f, 0.05f}, {4, 0}, {50, 0}};
  for (const Case &c : cases) {
    World5 world;
    TwoFloats mouse(640, 360);
    for (int i = 0; i < 10; ++i) {
      mouse = mouse + TwoFloats(c.step, 0);
      world.mouseMove(mouse);
    }
    EXPECT_NEAR(world.progress, c.progressAfterTenMoves, 1e-5f) << c.step;
  }
}

TEST(World5, CalmHoldsFor30FramesThenDecays) {
  World5 world;
  for (int i = 0; i < 10; ++i) world.mouseMove(TwoFloats(640, 360));
  WorldDriver::frames(world, 30);
  EXPECT_NEAR(world.progress, 0.05f, 1e-5f);
  EXPECT_NEAR(world.scale, 0.05f * 0.61f + 0.05f, 1e-5f);
  WorldDriver::frames(world, 4);
  EXPECT_NEAR(world.progress, 0.03f, 1e-5f);
  WorldDriver::frames(world, 20);
  EXPECT_EQ(world.progress, 0.0f);
}

TEST(World5, TwoHundredSlowMovesBringTheRingsHome) {
  World5 world;
  world.drawingAreaSize = TwoFloats(1280, 540);
  int moves = 0;
  while (!world.worldDone() && moves < 1000) {
    world.mouseMove(TwoFloats(640 + (moves % 2), 300));
    WorldDriver::frame(world);
    ++moves;
    // The calmer, the nearer the rings sit to the screen's centre.
    const float offCentre = World::distance(world.planeToScreen(world.ringPositions[0]), world.screenCentre());
    EXPECT_LE(offCentre, std::max(0.0f, 1.0f - world.progress) * 1000.0f + 0.01f);
  }
  EXPECT_TRUE(world.worldDone());
  // The first move (from the starting position) is not slow.
  EXPECT_NEAR(moves, 201, 1);
  for (const TwoFloats &ring : world.ringPositions) EXPECT_TRUE(World::samePoint(ring, world.homePosition));
}

}  // namespace
