#include "game/WorldStations.h"

#include "base/Random.h"
#include "game/World.h"

#include <cmath>

namespace {

const float margin = 64.0f;

// Position along one axis in station steps, from 0 to lastIndex.
float stationCoordinate(float p, float size, int lastIndex) {
  if (p < margin) return 0.0f;
  if (p > size - margin) return static_cast<float>(lastIndex);
  const float span = size - 2.0f * margin;
  // An area no wider than its two margins has nothing to blend across.
  if (span <= 0.0f) return 0.0f;
  const float c = (p - margin) * static_cast<float>(lastIndex) / span;
  // Also catches NaN, which would otherwise reach an int conversion.
  if (!(c > 0.0f)) return 0.0f;
  return c < static_cast<float>(lastIndex) ? c : static_cast<float>(lastIndex);
}

ThreeFloats blendRow(const WorldStations::Table &stations, int row, int column, float across) {
  if (across == 0.0f) return stations[row][column];
  return World::mix(stations[row][column], stations[row][column + 1], across);
}

}  // namespace

ThreeFloats WorldStations::blend(const Table &stations, const TwoFloats &point, const TwoFloats &areaSize) {
  const float u = stationCoordinate(point.x, areaSize.x, columns - 1);
  const float v = stationCoordinate(point.y, areaSize.y, rows - 1);
  const int column = static_cast<int>(u);
  const int row = static_cast<int>(v);
  // At the last column or row the fraction is 0, so no station beyond is read.
  const float across = u - static_cast<float>(column);
  const float down = v - static_cast<float>(row);
  const ThreeFloats upper = blendRow(stations, row, column, across);
  if (down == 0.0f) return upper;
  return World::mix(upper, blendRow(stations, row + 1, column, across), down);
}

void WorldStations::pickStation(int &row, int &column) {
  column = static_cast<int>(Random::getGlobal().nextUnit() * 2.9999f);
  row = static_cast<int>(Random::getGlobal().nextUnit() * 1.9999f);
}

ThreeFloats WorldStations::randomColour() {
  const float red = Random::getGlobal().nextUnit();
  const float green = Random::getGlobal().nextUnit();
  const float blue = Random::getGlobal().nextUnit();
  return ThreeFloats(red, green, blue);
}

TwoFloats WorldStations::startAwayFrom(const TwoFloats &spot) {
  TwoFloats start;
  do {
    start.x = Random::getGlobal().nextUnit() * 1280.0f;
    start.y = Random::getGlobal().nextUnit() * 720.0f;
  } while (World::distance(start, spot) < 192.0f);
  return start;
}

TwoFloats WorldStations::onArea(const TwoFloats &spot, const TwoFloats &areaSize) {
  return TwoFloats(spot.x, std::fmin(spot.y, areaSize.y * 0.5f));
}

TwoFloats WorldStations::spot(int row, int column) {
  return TwoFloats(64.0f + static_cast<float>(column) * 576.0f, 64.0f + static_cast<float>(row) * 296.0f);
}
