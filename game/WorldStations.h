#pragma once

#include "base/ThreeFloats.h"
#include "base/TwoFloats.h"

#include <array>

// The 2 x 3 grid of colour stations of the colour-finding worlds: a ring's
// colour at a screen point blends the colours of the nearest stations. Row 0
// lies along the top, column 0 along the left, each 64 units in from the edge.
class WorldStations {
 public:
  static const int rows = 2;
  static const int columns = 3;
  // A ring's colour at each station, [row][column].
  using Table = std::array<std::array<ThreeFloats, columns>, rows>;

  // The colour at a screen point of a drawing area of the given size: the
  // stations' colours blended bilinearly, a station's own colour within 64
  // units of the edges. Any point and any area size give a colour.
  static ThreeFloats blend(const Table &stations, const TwoFloats &point, const TwoFloats &areaSize);

  // Two draws from the shared generator: the column, then the row.
  static void pickStation(int &row, int &column);
  // Three draws from the shared generator: red, green, blue.
  static ThreeFloats randomColour();
  // A starting mouse position on a 1280 x 720 area, at least 192 units from
  // the given spot: x then y from the shared generator, both again while too near.
  static TwoFloats startAwayFrom(const TwoFloats &spot);
  // Where the player finds a station's colours on a 1280 x 720 area.
  static TwoFloats spot(int row, int column);
  // Where a spot of the 1280 x 720 layout lies on an area of that size: in
  // place, but never below the area's middle, so that both rows stay within
  // reach on the flattest screens.
  static TwoFloats onArea(const TwoFloats &spot, const TwoFloats &areaSize);
};
