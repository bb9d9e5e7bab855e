#include "game/World4.h"

#include "support/WorldDriver.h"

#include <gtest/gtest.h>

TEST(World4, BeforeAnyMoveTheRingsStayAndTheScaleIsSlightlyNegative) {
  World4 world;
  WorldDriver::frames(world, 10);
  EXPECT_TRUE(World::samePoint(world.ringPositions[0], world.homePosition));
  EXPECT_LT(world.scale, 0.0f);
  EXPECT_GT(world.scale, -0.03f);
}

// On every screen shape the mirrored rings stay on the screen, and the mouse
// on the centre brings them home.
TEST(World4, TheRingsStayOnScreenAndFinishAtTheCentreOnEveryShape) {
  for (float height : {540.0f, 720.0f, 960.0f}) {
    const TwoFloats area(1280, height);
    for (const TwoFloats &mouse : {TwoFloats(0, 0), TwoFloats(1280, height), TwoFloats(640, 0)}) {
      World4 world;
      world.drawingAreaSize = area;
      world.mouseMove(mouse);
      for (int frame = 0; frame < 200; ++frame) {
        WorldDriver::frames(world, 1);
        ASSERT_TRUE(WorldDriver::onScreen(world.planeToScreen(world.ringPositions[0]), area)) << height;
      }
    }
    World4 world;
    world.drawingAreaSize = area;
    world.mouseMove(world.screenCentre());
    EXPECT_GT(WorldDriver::framesUntilDone(world, 1000), 0) << height;
    EXPECT_TRUE(World::samePoint(world.ringPositions[2], world.homePosition)) << height;
    // Worked out from the last distance, under 32.
    EXPECT_GT(world.scale, ((32.0f / -640.0f + 1.0f) * 0.9f + 0.1f) * 0.66f) << height;
    EXPECT_LE(world.scale, 0.66f) << height;
  }
}
