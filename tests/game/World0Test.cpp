#include "game/World0.h"

#include "game/Random.h"
#include "support/WorldDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

bool sameColours(const std::array<ThreeFloats, 3> &a, const std::array<ThreeFloats, 3> &b) {
  for (int k = 0; k < 3; ++k)
    if (!World::sameColour(a[k], b[k])) return false;
  return true;
}

TEST(World0, TheSpotIsAnAngleThenADistanceFromTheCentre) {
  Random next(Random::getGlobal().getCounter());
  const float angle = next.nextUnit() * 2.0f * 3.1415927f;
  const float radius = 256.0f + next.nextUnit() * 104.0f;
  World0 world;
  EXPECT_FLOAT_EQ(world.hiddenSpot.x, 640.0f + std::sin(angle) * radius);
  EXPECT_FLOAT_EQ(world.hiddenSpot.y, 360.0f + std::cos(angle) * radius);
}

TEST(World0, ColoursAndGrowthByDistanceFromTheSpot) {
  struct Case {
    float distance;
    float growthFactor;
    float growthPerFrame;  // before the gameplay shrink
  };
  const Case cases[] = {{0, 1, 0.0025f}, {3.9f, 1, 0.0025f}, {128, 0.5f, 0.002f}, {300, 0, 0}, {256, 0, 0}};
  for (const Case &c : cases) {
    World0 world;
    world.mouseMove(world.hiddenSpot + TwoFloats(0, c.distance));
    EXPECT_FLOAT_EQ(world.growthFactor, c.growthFactor) << c.distance;
    if (c.growthFactor == 1.0f) {
      EXPECT_TRUE(sameColours(world.ringColours, world.warmRingColours)) << c.distance;
      EXPECT_TRUE(World::sameColour(world.backgroundColour, world.warmBackground));
    } else if (c.growthFactor == 0.0f) {
      EXPECT_TRUE(sameColours(world.ringColours, world.coolRingColours)) << c.distance;
      EXPECT_TRUE(World::sameColour(world.backgroundColour, world.coolBackground));
    } else {
      EXPECT_FLOAT_EQ(world.backgroundColour.x, 0.5f * 0.8f + 0.5f * 0.4509804f);
    }
    world.subclassTick();
    EXPECT_NEAR(world.scale, 0.05f + c.growthPerFrame, 1e-6f) << c.distance;
  }
}

TEST(World0, FarFromTheSpotItShrinksNearItItFinishes) {
  World0 far;
  far.scale = 0.3f;
  far.mouseMove(far.hiddenSpot + TwoFloats(300, 0));
  WorldDriver::frames(far, 200);
  EXPECT_NEAR(far.scale, 0.1f, 1e-4f);
  EXPECT_FALSE(far.worldDone());

  // Held still 200 units away, the point glides in and the colours warm up by themselves.
  World0 near;
  near.mouseMove(near.hiddenSpot + TwoFloats(-200, 0));
  int frames = 0;
  while (!near.worldDone() && frames < 2000) {
    WorldDriver::frame(near);
    ++frames;
  }
  EXPECT_TRUE(near.worldDone());
  EXPECT_LT(frames, 2000);
  EXPECT_TRUE(sameColours(near.ringColours, near.warmRingColours));
  EXPECT_TRUE(World::samePoint(near.followPoint, near.hiddenSpot));
}

// The spot keeps its place relative to the screen's centre, so the world
// plays the same on every shape of screen.
TEST(World0, TheSpotFollowsTheScreenCentre) {
  for (float height : {540.0f, 720.0f, 960.0f}) {
    for (int i = 0; i < 20; ++i) {
      World0 world;
      world.drawingAreaSize = TwoFloats(1280, height);
      const TwoFloats spot = world.spotOnScreen();
      const float fromCentre = World::distance(spot, world.screenCentre());
      EXPECT_GE(fromCentre, 255.99f) << height;
      EXPECT_LE(fromCentre, 360.01f) << height;
      if (height == 720.0f) {
        EXPECT_TRUE(World::samePoint(spot, world.hiddenSpot));
      }

      // A player who goes as near the spot as the screen allows finishes it.
      const TwoFloats reach(std::clamp(spot.x, 0.0f, 1280.0f), std::clamp(spot.y, 0.0f, height));
      world.mouseMove(reach);
      WorldDriver::frames(world, 1000);
      EXPECT_TRUE(world.worldDone()) << height;
    }
  }
}

}  // namespace
