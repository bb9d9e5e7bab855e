#include "PersonaTour.h"

#include "MotorModel.h"
#include "Sight.h"

#include "app/Assertion.h"
#include "game/World.h"
#include "game/WorldStations.h"

#include <algorithm>

namespace {

// Where on a station a hand aims: nothing marks it, a player aims at its corner of the screen.
const float stationWidth = 64.0f;

}  // namespace

PersonaTour::PersonaTour(unsigned columns) : columns(columns) {}

TwoFloats PersonaTour::station(int index, const TwoFloats &area) {
  const TwoFloats spot =
      WorldStations::onArea(WorldStations::spot(index / WorldStations::columns, index % WorldStations::columns), area);
  return TwoFloats(std::min(spot.x, area.x - 1.0f), std::min(spot.y, area.y - 1.0f));
}

int PersonaTour::nearestUnvisited(const TwoFloats &from, const TwoFloats &area) const {
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

void PersonaTour::newRound() {
  visited.fill(false);
  if (heading >= 0 && arrivedAt >= 0.0) visited[heading] = true;
}

void PersonaTour::step(const Sight &sight, MotorModel &hand, double lingerSeconds) {
  const TwoFloats &area = sight.view().area;
  if (heading < 0) {
    heading = nearestUnvisited(hand.position(), area);
    if (heading < 0) {
      visited.fill(false);
      heading = nearestUnvisited(hand.position(), area);
    }
    arrivedAt = -1.0;
  }
  MW_ASSERT(heading >= 0);
  const TwoFloats target = station(heading, area);
  if (arrivedAt < 0.0) {
    hand.reachTo(target, stationWidth);
    if (hand.resting()) arrivedAt = sight.now();
    return;
  }
  if (sight.now() - arrivedAt < lingerSeconds) return;
  visited[heading] = true;
  heading = -1;
}
