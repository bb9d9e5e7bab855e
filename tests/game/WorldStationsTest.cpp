#include "game/WorldStations.h"

#include "game/World.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Station (row, column) holds (column, row, 0), so a blend reads as a place in the grid.
WorldStations::Table grid() {
  WorldStations::Table table;
  for (int row = 0; row < 2; ++row)
    for (int column = 0; column < 3; ++column) table[row][column] = ThreeFloats(column, row, 0);
  return table;
}

TEST(WorldStations, BlendPlacesEveryPointOfEveryAreaInTheGrid) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    TwoFloats area, point;
    float column, row;
  };
  const Case cases[] = {
      {TwoFloats(1280, 720), TwoFloats(0, 0), 0, 0},
      {TwoFloats(1280, 720), TwoFloats(63, 63), 0, 0},
      {TwoFloats(1280, 720), TwoFloats(640, 360), 1, 0.5f},
      {TwoFloats(1280, 720), TwoFloats(1216, 656), 2, 1},
      {TwoFloats(1280, 720), TwoFloats(1280, 720), 2, 1},
      {TwoFloats(1280, 720), TwoFloats(352, 212), 0.5f, 0.25f},
      {TwoFloats(1280, 720), TwoFloats(-500, 5000), 0, 1},
      {TwoFloats(1280, 720), TwoFloats(nan, inf), 0, 1},
      // Areas no bigger than their margins: nothing to divide by.
      {TwoFloats(128, 128), TwoFloats(64, 64), 0, 0},
      {TwoFloats(128, 128), TwoFloats(65, 65), 2, 1},
      {TwoFloats(0, 0), TwoFloats(10, 10), 0, 0},
      {TwoFloats(1280, 128), TwoFloats(640, 64), 1, 0},
  };
  for (const Case &c : cases) {
    const ThreeFloats colour = WorldStations::blend(grid(), c.point, c.area);
    EXPECT_NEAR(colour.x, c.column, 1e-5f) << c.area.x << "x" << c.area.y << " at " << c.point.x << "," << c.point.y;
    EXPECT_NEAR(colour.y, c.row, 1e-5f) << c.area.x << "x" << c.area.y << " at " << c.point.x << "," << c.point.y;
  }
}

}  // namespace
