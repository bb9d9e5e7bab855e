#include "game/World5.h"

#include "support/WorldDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

// Jumps come at least two thirds of a second apart and the rings glide a
// twentieth of the way a frame: quicker, grown rings swept their dark and
// pale bands over the screen more than three times a second.
TEST(World5, JumpsLandFarFromTheCentreEvery40To69Frames) {
  for (float height : {540.0f, 720.0f}) {
    World5 world;
    world.drawingAreaSize = TwoFloats(1280, height);
    world.subclassTick();  // the first jump
    TwoFloats target = world.jumpTarget;
    int sinceJump = 0, shortest = 1000, longest = 0;
    for (int frame = 0; frame < 2000; ++frame, ++sinceJump) {
      const TwoFloats before = world.ringCentre, goal = world.jumpTarget;
      world.subclassTick();
      EXPECT_LE(World::distance(before, world.ringCentre), 0.05f * World::distance(before, goal) + 1.0f);
      if (World::samePoint(target, world.jumpTarget)) continue;
      target = world.jumpTarget;
      EXPECT_GE(World::distance(target, world.screenCentre()), 256.0f) << height;
      EXPECT_TRUE(WorldDriver::onScreen(target, world.drawingAreaSize)) << height;
      shortest = std::min(shortest, sinceJump + 1);
      longest = std::max(longest, sinceJump + 1);
      sinceJump = -1;
    }
    EXPECT_GE(shortest, 40);
    EXPECT_LE(longest, 69);
    EXPECT_GT(longest, shortest);
  }
}

TEST(World5, OnlySlowSmallMovesCalmItAndCalmHoldsFor30Frames) {
  struct Case {
    float step, progressAfterTenMoves;
  };
  struct Window {
    float pixel;
    Case c;
  };
  // On a window whose pixel is 4 units, a one-pixel move is the calmest there is.
  for (const Window &w : {Window{1, {0, 0.05f}}, Window{1, {3.9f, 0.05f}}, Window{1, {4, 0}}, Window{1, {50, 0}},
                          Window{2, {4, 0}}, Window{4, {4, 0.05f}}, Window{4, {8, 0}}}) {
    const Case &c = w.c;
    World5 world;
    world.pixelSize = TwoFloats(w.pixel, w.pixel);
    for (int i = 1; i <= 10; ++i) world.mouseMove(TwoFloats(640 + c.step * i, 360));
    EXPECT_NEAR(world.progress, c.progressAfterTenMoves, 1e-5f) << c.step << " on pixels of " << w.pixel;
    WorldDriver::frames(world, 30);
    EXPECT_NEAR(world.progress, c.progressAfterTenMoves, 1e-5f) << c.step;
    WorldDriver::frames(world, 4);
    EXPECT_NEAR(world.progress, std::max(0.0f, c.progressAfterTenMoves - 0.02f), 1e-5f) << c.step;
  }
}
