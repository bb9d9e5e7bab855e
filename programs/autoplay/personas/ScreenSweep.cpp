#include "personas/ScreenSweep.h"

#include "personas/MotorModel.h"
#include "personas/Sight.h"

#include <algorithm>
#include <cmath>

namespace {

// Stops no further apart than this, and a little way in from the edges.
const float spacing = 280.0f;
const float margin = 64.0f;
const float stopWidth = 48.0f;

int stopsAcross(float length) {
  return std::max(2, static_cast<int>(std::ceil((length - 2.0f * margin) / spacing)) + 1);
}

}  // namespace

int ScreenSweep::stopCount(const TwoFloats &area) { return stopsAcross(area.x) * stopsAcross(area.y); }

TwoFloats ScreenSweep::stop(int index, const TwoFloats &area) {
  const int columns = stopsAcross(area.x), rows = stopsAcross(area.y);
  index %= columns * rows;
  const int row = index / columns;
  int column = index % columns;
  // Back and forth, as a hand combs: no long return stroke.
  if (row % 2 == 1) column = columns - 1 - column;
  const float left = std::min(margin, area.x * 0.5f), top = std::min(margin, area.y * 0.5f);
  return TwoFloats(left + (area.x - 2.0f * left) * static_cast<float>(column) / static_cast<float>(columns - 1),
                   top + (area.y - 2.0f * top) * static_cast<float>(row) / static_cast<float>(rows - 1));
}

void ScreenSweep::step(const Sight &sight, MotorModel &hand, double lingerSeconds) {
  const TwoFloats &area = sight.view().area;
  if (heading < 0) {
    // Starts at the stop nearest the hand.
    float nearest = 1e9f;
    for (int i = 0; i < stopCount(area); ++i) {
      const float d = (stop(i, area) - hand.position()).length();
      if (d >= nearest) continue;
      nearest = d;
      heading = i;
    }
    arrivedAt = -1.0;
  }
  if (arrivedAt < 0.0) {
    hand.reachTo(stop(heading, area), stopWidth);
    if (hand.resting()) arrivedAt = sight.now();
    return;
  }
  if (sight.now() - arrivedAt < lingerSeconds) return;
  heading = (heading + 1) % stopCount(area);
  arrivedAt = -1.0;
}
