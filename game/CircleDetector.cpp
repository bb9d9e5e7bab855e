#include "game/CircleDetector.h"

#include <algorithm>
#include <cmath>

CircleDetector::CircleDetector() {
  for (TwoFloats &entry : history) entry = TwoFloats(0.0f, 0.0f);
}

void CircleDetector::setMousePos(const TwoFloats &position) {
  if (hasPosition) {
    history[0] = position;
    return;
  }
  // Without this the untouched (0, 0) entries and the first position would
  // form two clusters, which look like a ring to the distance test.
  for (TwoFloats &entry : history) entry = position;
  hasPosition = true;
}

bool CircleDetector::update() {
  for (int i = historyLength - 1; i > 0; --i) history[i] = history[i - 1];

  // The box starts from the drawing area's far corners, so it always
  // reaches x = 0 and y = 0 at least on the maximum side.
  float maxX = 0.0f, maxY = 0.0f, minX = 1280.0f, minY = 720.0f;
  for (const TwoFloats &p : history) {
    maxX = std::max(maxX, p.x);
    maxY = std::max(maxY, p.y);
    minX = std::min(minX, p.x);
    minY = std::min(minY, p.y);
  }
  extent = TwoFloats(maxX - minX, maxY - minY);
  const TwoFloats centre(minX + (maxX - minX) * 0.5f, minY + (maxY - minY) * 0.5f);

  float minDistance = 1280.0f, maxDistance = 0.0f;
  bool quarterVisited[4] = {false, false, false, false};
  for (const TwoFloats &p : history) {
    const TwoFloats d = p - centre;
    const float distance = std::sqrt(d.x * d.x + d.y * d.y);
    minDistance = std::min(minDistance, distance);
    maxDistance = std::max(maxDistance, distance);
    quarterVisited[(d.x >= 0.0f ? 1 : 0) + (d.y >= 0.0f ? 2 : 0)] = true;
  }
  // Points bunched on two or three sides of the centre (a mouse that jumped)
  // can sit at one distance from it without going round it.
  const bool goesRound = quarterVisited[0] && quarterVisited[1] && quarterVisited[2] && quarterVisited[3];
  return minDistance > 10.0f && 0.5f * extent.x > maxDistance - minDistance && goesRound;
}
