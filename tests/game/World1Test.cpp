#include "game/World1.h"

#include "game/Random.h"
#include "support/WorldDriver.h"

#include <gtest/gtest.h>

namespace {

TEST(World1, TheTopLeftCornerShowsStationZeroZero) {
  World1 world;
  for (const TwoFloats &corner : {TwoFloats(0, 0), TwoFloats(63, 10), TwoFloats(10, 63)}) {
    world.mouseMove(corner);
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(World::sameColour(world.ringColours[k], world.stationColours[k][0][0]));
  }
}

TEST(World1, ItsOwnStationHoldsItsColoursAndTheMouseStartsAwayFromIt) {
  for (int i = 0; i < 20; ++i) {
    World1 world;
    const int column = static_cast<int>((world.targetSpot.x - 64) / 576);
    const int row = static_cast<int>((world.targetSpot.y - 64) / 296);
    for (int k = 0; k < 3; ++k)
      EXPECT_TRUE(World::sameColour(world.stationColours[k][row][column], world.ownRingColours[k]));
    EXPECT_GE(World::distance(world.mousePosition, world.targetSpot), 192.0f);
  }
}

// Row 1's spot lies half-way between the rows: there the rings show an even
// blend of the two rows until they have glided to their own colours.
TEST(World1, AStationInRowOneIsFoundHalfWayDown) {
  ASSERT_TRUE(WorldDriver::stepRandomUntil([](Random &next) {
    next.nextUnit();
    return static_cast<int>(next.nextUnit() * 1.9999f) == 1;
  }));
  World1 world;
  ASSERT_EQ(world.targetSpot.y, 360.0f);
  const int column = static_cast<int>((world.targetSpot.x - 64) / 576);
  world.mouseMove(world.targetSpot);
  for (int k = 0; k < 3; ++k) {
    const ThreeFloats even = World::mix(world.stationColours[k][0][column], world.stationColours[k][1][column], 0.5f);
    EXPECT_TRUE(World::sameColour(world.ringColours[k], even)) << k;
  }
  int frames = 0;
  while (!world.worldDone() && frames < 1000) {
    WorldDriver::frame(world);
    ++frames;
  }
  // 0.0025 a frame against a shrink of 0.001.
  EXPECT_NEAR(frames, (0.66f - 0.05f) / 0.0015f, 2.0f);

  // Once done it ignores the mouse and keeps its own colours.
  world.mouseMove(TwoFloats(0, 0));
  WorldDriver::frames(world, 10);
  EXPECT_TRUE(world.worldDone());
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(World::sameColour(world.ringColours[k], world.ownRingColours[k]));
}

TEST(World1, AwayFromItsStationItDoesNotGrow) {
  World1 world;
  world.mouseMove(world.targetSpot + TwoFloats(0, world.targetSpot.y < 300 ? 256 : -256));
  const std::array<ThreeFloats, 3> before = world.ringColours;
  world.subclassTick();
  EXPECT_EQ(world.scale, 0.05f);
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(World::sameColour(world.ringColours[k], before[k]));
}

}  // namespace
