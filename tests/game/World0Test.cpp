#include "game/World0.h"

#include "support/WorldDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(World0, ColoursAndGrowthByDistanceFromTheSpot) {
  struct Case {
    float distance, growthPerFrame;  // growth before the gameplay shrink
    bool warm, cool;
  };
  const Case cases[] = {{0, 0.0025f, true, false},
                        {3.9f, 0.0025f, true, false},
                        {128, 0.002f, false, false},
                        {257, 0, false, true},
                        {300, 0, false, true}};
  for (const Case &c : cases) {
    World0 world;
    world.mouseMove(world.hiddenSpot + TwoFloats(0, c.distance));
    EXPECT_EQ(World::sameColour(world.backgroundColour, world.warmBackground), c.warm) << c.distance;
    EXPECT_EQ(World::sameColour(world.backgroundColour, world.coolBackground), c.cool) << c.distance;
    EXPECT_EQ(World::sameColour(world.ringColours[2], world.warmRingColours[2]), c.warm) << c.distance;
    world.subclassTick();
    EXPECT_NEAR(world.scale, 0.05f + c.growthPerFrame, 1e-6f) << c.distance;
  }
}

// On every screen shape the spot lies inside the area (in place at 720 high,
// nearer the centre's height on lower areas), and a player who holds still
// on it finishes the world (the colours warm up by themselves).
TEST(World0, TheSpotLiesInsideEveryArea) {
  for (float height : {360.0f, 540.0f, 720.0f, 960.0f, 2275.0f}) {
    for (int i = 0; i < 200; ++i) {
      World0 world;
      world.drawingAreaSize = TwoFloats(1280, height);
      const TwoFloats spot = world.spotOnScreen();
      ASSERT_TRUE(WorldDriver::onScreen(spot, world.drawingAreaSize)) << height << " " << spot.x << "," << spot.y;
      EXPECT_LE(World::distance(spot, world.screenCentre()), 360.01f) << height;
      if (height >= 720.0f) {
        EXPECT_GE(World::distance(spot, world.screenCentre()), 255.99f) << height;
      }
      EXPECT_EQ(World::samePoint(spot, world.hiddenSpot), height == 720.0f);
      if (i % 20 != 0) continue;
      world.mouseMove(spot);
      EXPECT_GT(WorldDriver::framesUntilDone(world, 1000), 0) << height;
      EXPECT_TRUE(World::sameColour(world.ringColours[0], world.warmRingColours[0]));
    }
  }
}

}  // namespace
