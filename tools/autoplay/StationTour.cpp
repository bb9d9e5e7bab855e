#include "StationTour.h"

#include "Hand.h"

#include "game/World.h"
#include "game/WorldStations.h"

#include <algorithm>

TwoFloats StationTour::station(int index, const TwoFloats &area) {
  const TwoFloats spot =
      WorldStations::onArea(WorldStations::spot(index / WorldStations::columns, index % WorldStations::columns), area);
  return TwoFloats(std::min(spot.x, area.x - 1.0f), std::min(spot.y, area.y - 1.0f));
}

int StationTour::nearestUnvisited(const TwoFloats &from, const TwoFloats &area) const {
  int best = -1;
  float bestDistance = 0.0f;
  for (int i = 0; i < static_cast<int>(visited.size()); ++i) {
    if (visited[i]) continue;
    const float d = World::distance(from, station(i, area));
    if (best < 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

bool StationTour::step(Hand &hand, const TwoFloats &area) {
  if (heading < 0) {
    heading = nearestUnvisited(hand.position(), area);
    if (heading < 0) {
      visited.fill(false);
      heading = nearestUnvisited(hand.position(), area);
    }
  }
  if (!hand.moveToward(station(heading, area))) return false;
  visited[heading] = true;
  heading = -1;
  return true;
}
