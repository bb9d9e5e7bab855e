#include "game/World7.h"

#include "game/Random.h"
#include "support/WorldDriver.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const ThreeFloats special(0.84313726f, 0.32941177f, 0.6666667f);

// Ticks until the stage changes; the number of frames, or -1.
int framesUntilStage(World7 &world, int stage, int limit) {
  for (int frame = 1; frame <= limit; ++frame) {
    WorldDriver::frame(world);
    if (world.stage == stage) return frame;
  }
  return -1;
}

TEST(World7, TheSpecialStationIsNeverInTheMiddleColumn) {
  // The column is the third draw; make it come out as the middle one first.
  ASSERT_TRUE(WorldDriver::stepRandomUntil([](Random &next) {
    next.nextUnit();
    next.nextUnit();
    return static_cast<int>(next.nextUnit() * 2.9999f) == 1;
  }));
  for (int i = 0; i < 20; ++i) {
    World7 world;
    ASSERT_TRUE(world.targetSpot.x == 64.0f || world.targetSpot.x == 1216.0f) << world.targetSpot.x;
    const int column = world.targetSpot.x == 64.0f ? 0 : 2;
    const int row = world.targetSpot.y == 64.0f ? 0 : 1;
    EXPECT_TRUE(World::sameColour(world.stationColours[row][column], special));
    EXPECT_GE(World::distance(world.mousePosition, world.targetSpot), 192.0f);
  }
}

// Steer, find the station, draw circles; on every screen shape ring 0 starts
// in the top-left corner and can be steered to the centre.
TEST(World7, TheStagesOpenInTurnOnEveryScreenShape) {
  for (float height : {540.0f, 720.0f, 960.0f}) {
    const TwoFloats area(1280, height);
    World7 world;
    world.drawingAreaSize = area;
    const TwoFloats centre = world.screenCentre();

    world.mouseMove(centre);
    EXPECT_TRUE(World::samePoint(world.planeToScreen(world.ringPositions[0]), TwoFloats(0, 0))) << height;
    for (int frame = 0; frame < 200 && world.stage == 0; ++frame) {
      WorldDriver::frame(world);
      EXPECT_TRUE(WorldDriver::onScreen(world.planeToScreen(world.ringPositions[0]), area)) << height;
    }
    ASSERT_EQ(world.stage, 1) << height;
    EXPECT_TRUE(World::samePoint(world.planeToScreen(world.ringPositions[0]), centre)) << height;

    // The station is accepted only once the world has grown to 0.28.
    world.mouseMove(world.targetSpot);
    const int framesToStation = framesUntilStage(world, 2, 100);
    EXPECT_GE(framesToStation, 36) << height;
    EXPECT_LE(framesToStation, 38) << height;
    EXPECT_TRUE(World::sameColour(world.ringColours[0], ThreeFloats(0.94509804f, 0.90588236f, 0.29803923f)));

    // A still mouse grows it to 0.46 and no further.
    world.mouseMove(centre);
    WorldDriver::frames(world, 100);
    EXPECT_NEAR(world.scale, 0.46f, 0.0051f) << height;

    int frame = 0;
    while (!world.worldDone() && frame < 2000) {
      const float angle = frame / 20.0f * 2.0f * 3.1415927f;
      world.mouseMove(centre + TwoFloats(std::cos(angle), std::sin(angle)) * 150.0f);
      WorldDriver::frame(world);
      ++frame;
    }
    EXPECT_TRUE(world.worldDone()) << height;
    EXPECT_EQ(world.stage, 3);
    EXPECT_NEAR(world.orbitRadius, 0.0f, 1.0f);
  }
}

TEST(World7, WithoutCirclesStageTwoFallsBackTo046) {
  World7 world;
  world.stage = 2;
  world.targetScale = 0.55f;
  world.mouseMove(TwoFloats(300, 300));
  WorldDriver::frames(world, 200);
  EXPECT_NEAR(world.scale, 0.46f, 0.0011f);
  EXPECT_GE(world.scale, 0.459f);
}

}  // namespace
