#include "game/World7.h"

#include "base/Random.h"
#include "support/WorldDriver.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(World7, TheSpecialStationIsNeverInTheMiddleColumn) {
  // The column is the third draw; make the first one come out in the middle.
  ASSERT_TRUE(WorldDriver::stepRandomUntil([](Random &next) {
    next.nextUnit();
    next.nextUnit();
    return static_cast<int>(next.nextUnit() * 2.9999f) == 1;
  }));
  for (int i = 0; i < 20; ++i) {
    World7 world;
    ASSERT_TRUE(world.targetSpot.x == 64.0f || world.targetSpot.x == 1216.0f) << world.targetSpot.x;
    const ThreeFloats &station =
        world.stationColours[world.targetSpot.y == 64.0f ? 0 : 1][world.targetSpot.x > 640 ? 2 : 0];
    EXPECT_TRUE(World::sameColour(station, ThreeFloats(0.84313726f, 0.32941177f, 0.6666667f)));
  }
}

// Steer, find the station, draw circles; on every screen shape ring 0 starts
// in the top-left corner and can be steered to the centre.
TEST(World7, TheStagesOpenInTurnOnEveryScreenShape) {
  for (float height : {540.0f, 720.0f, 960.0f}) {
    World7 world;
    world.drawingAreaSize = TwoFloats(1280, height);
    const TwoFloats centre = world.screenCentre();
    world.mouseMove(centre);
    EXPECT_TRUE(World::samePoint(world.planeToScreen(world.ringPositions[0]), TwoFloats(0, 0))) << height;
    for (int frame = 0; frame < 200 && world.stage == 0; ++frame) {
      WorldDriver::frames(world, 1);
      ASSERT_TRUE(WorldDriver::onScreen(world.planeToScreen(world.ringPositions[0]), world.drawingAreaSize)) << height;
    }
    ASSERT_EQ(world.stage, 1) << height;
    EXPECT_TRUE(World::samePoint(world.planeToScreen(world.ringPositions[0]), centre)) << height;

    // The station is accepted only once the world has grown to 0.28.
    world.mouseMove(world.targetSpot);
    int frames = 0;
    for (; world.stage == 1 && frames < 100; ++frames) WorldDriver::frames(world, 1);
    EXPECT_EQ(world.stage, 2);
    EXPECT_NEAR(frames, 37, 1) << height;

    // A still mouse grows it to 0.46 and no further; circles finish it.
    world.mouseMove(centre);
    WorldDriver::frames(world, 100);
    EXPECT_NEAR(world.scale, 0.46f, 0.0051f) << height;
    for (frames = 0; !world.worldDone() && frames < 2000; ++frames) {
      const float angle = frames / 20.0f * 2.0f * 3.1415927f;
      world.mouseMove(centre + TwoFloats(std::cos(angle), std::sin(angle)) * 150.0f);
      WorldDriver::frames(world, 1);
    }
    EXPECT_EQ(world.stage, 3);
    EXPECT_TRUE(world.worldDone());
    EXPECT_NEAR(world.orbitRadius, 0.0f, 1.0f);
  }
}
