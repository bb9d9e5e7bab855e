#include "game/World1.h"

#include "base/Random.h"
#include "support/WorldDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace {

TEST(World1, TheTopLeftCornerShowsStationZeroZero) {
  World1 world;
  world.mouseMove(TwoFloats(63, 10));
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(World::sameColour(world.ringColours[k], world.stationColours[k][0][0]));
}

// Row 1's spot lies half-way between the rows: there the rings show an even
// blend of the two rows, then glide to their own colours as the world grows.
TEST(World1, AStationInRowOneIsFoundHalfWayDown) {
  // The row is the second draw.
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
  // 0.0025 a frame against the shrink of 0.001.
  EXPECT_NEAR(WorldDriver::framesUntilDone(world, 1000), (0.66f - 0.05f) / 0.0015f, 2.0f);
  world.mouseMove(TwoFloats(0, 0));
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(World::sameColour(world.ringColours[k], world.ownRingColours[k]));
}

// Station (row, column) holds (column, row, 0), so a blend reads as a place in the grid.
TEST(World1, TheStationBlendPlacesAnyPointOfAnyAreaInTheGrid) {
  WorldStations::Table grid;
  for (int row = 0; row < 2; ++row)
    for (int column = 0; column < 3; ++column) grid[row][column] = ThreeFloats(column, row, 0);
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  struct Case {
    TwoFloats area, point;
    float column, row;
  };
  const Case cases[] = {
      {TwoFloats(1280, 720), TwoFloats(640, 360), 1, 0.5f},
      {TwoFloats(1280, 720), TwoFloats(352, 212), 0.5f, 0.25f},
      {TwoFloats(1280, 720), TwoFloats(1280, 720), 2, 1},
      {TwoFloats(1280, 720), TwoFloats(nan, inf), 0, 1},
      {TwoFloats(1280, 720), TwoFloats(-500, 5000), 0, 1},
      // No room between the margins: nothing to divide by.
      {TwoFloats(128, 128), TwoFloats(64, 64), 0, 0},
      {TwoFloats(1280, 128), TwoFloats(640, 64), 1, 0},
      {TwoFloats(0, 0), TwoFloats(10, 10), 0, 0},
  };
  for (const Case &c : cases) {
    const ThreeFloats colour = WorldStations::blend(grid, c.point, c.area);
    EXPECT_NEAR(colour.x, c.column, 1e-5f) << c.area.x << "x" << c.area.y << " at " << c.point.x << "," << c.point.y;
    EXPECT_NEAR(colour.y, c.row, 1e-5f) << c.area.x << "x" << c.area.y << " at " << c.point.x << "," << c.point.y;
  }
}


// On the flattest screens row 1's spot of the 720 layout lies below the
// area; a player at the nearest point the mouse reaches must still find it,
// whether it grows the world (256 units) or turns World7's ring (192 units).
TEST(World1, EveryStationIsWithinReachOnFlatAreas) {
  for (const float height : {90.0f, 160.0f, 360.0f, 720.0f}) {
    const TwoFloats area(1280, height);
    for (int row = 0; row < WorldStations::rows; ++row) {
      for (int column = 0; column < WorldStations::columns; ++column) {
        const TwoFloats spot = WorldStations::spot(row, column);
        const TwoFloats reached(std::min(spot.x, area.x - 1), std::min(spot.y, area.y - 1));
        World1 world;
        world.drawingAreaSize = area;
        world.targetSpot = spot;
        world.mouseMove(reached);
        EXPECT_GT(WorldDriver::framesUntilDone(world, 1000), 0) << height << " " << row << "," << column;
        EXPECT_LT(World::distance(reached, WorldStations::onArea(spot, area)), 192.0f) << height;
        if (height >= 720.0f) {
          EXPECT_TRUE(World::samePoint(WorldStations::onArea(spot, area), spot));
        }
      }
    }
  }
}

}  // namespace
