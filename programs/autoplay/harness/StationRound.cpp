#include "harness/StationRound.h"

#include "base/Assertion.h"
#include "game/World.h"
#include "game/WorldStations.h"

#include <algorithm>

StationRound::StationRound(unsigned columns) : columns(columns) {}

TwoFloats StationRound::station(int index, const TwoFloats &area) {
  const TwoFloats spot =
      WorldStations::onArea(WorldStations::spot(index / WorldStations::columns, index % WorldStations::columns), area);
  return TwoFloats(std::min(spot.x, area.x - 1.0f), std::min(spot.y, area.y - 1.0f));
}

int StationRound::nearestUnvisited(const TwoFloats &from, const TwoFloats &area) const {
  int best = -1;
  float bestDistance = 0.0f;
  for (int i = 0; i < static_cast<int>(visited.size()); ++i) {
    if (visited[i] || !(columns & (1u << (i % WorldStations::columns)))) continue;
    const float d = World::distance(from, station(i, area));
    if (best < 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

int StationRound::next(const TwoFloats &from, const TwoFloats &area) {
  int index = nearestUnvisited(from, area);
  if (index < 0) {
    newRound();
    index = nearestUnvisited(from, area);
  }
  MW_ASSERT(index >= 0);
  return index;
}

void StationRound::newRound(int except) {
  visited.fill(false);
  if (except >= 0) visited[except] = true;
}
