#include "game/CircleDetector.h"

#include <algorithm>
#include <cmath>

namespace {

const float pi = 3.14159265f;
const float turn = 2.0f * pi;
// Nearly a whole turn: a span of a slow circle need not close exactly.
const float leastWinding = 0.9f * turn;
// Each quarter of a span must still be turning: a mouse that stopped is not
// drawing circles, however round its older path was.
const float leastQuarterWinding = 0.05f * turn;
// A step of a quarter turn or more about the centre is a jump, not a stroke.
const float largestStep = 0.25f * turn;
// Spans looked at, shortest first: 32 frames catch a brisk circle at once;
// the longer ones a turn of up to two seconds.
const int spans[] = {CircleDetector::historyLength, 48, 64, 96, CircleDetector::longHistoryLength};

float wrapped(float angle) {
  if (angle > pi) return angle - turn;
  if (angle <= -pi) return angle + turn;
  return angle;
}

}  // namespace

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
  for (int i = longHistoryLength - 1; i > 0; --i) history[i] = history[i - 1];
  bool circle = false;
  for (const int frames : spans) circle = circle || isCircle(frames);
  return circle;
}

bool CircleDetector::isCircle(int frames) {
  // The box starts from the newest entry, not from a fixed screen, so that
  // any shape of drawing area measures alike.
  float maxX = history[0].x, maxY = history[0].y, minX = maxX, minY = maxY;
  for (int i = 1; i < frames; ++i) {
    maxX = std::max(maxX, history[i].x);
    maxY = std::max(maxY, history[i].y);
    minX = std::min(minX, history[i].x);
    minY = std::min(minY, history[i].y);
  }
  const TwoFloats box(maxX - minX, maxY - minY);
  if (frames == historyLength) extent = box;
  const TwoFloats centre(minX + box.x * 0.5f, minY + box.y * 0.5f);

  float minDistance = 1e30f, maxDistance = 0.0f;
  float winding = 0.0f, quarterWinding[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  float lastAngle = 0.0f;
  // Oldest to newest, so that the winding has the direction of the stroke.
  for (int i = frames - 1; i >= 0; --i) {
    const TwoFloats d = history[i] - centre;
    const float distance = std::sqrt(d.x * d.x + d.y * d.y);
    minDistance = std::min(minDistance, distance);
    maxDistance = std::max(maxDistance, distance);
    const float angle = std::atan2(d.y, d.x);
    if (i < frames - 1) {
      const float step = wrapped(angle - lastAngle);
      if (std::fabs(step) >= largestStep) return false;
      winding += step;
      quarterWinding[(frames - 1 - i) * 4 / frames] += step;
    }
    lastAngle = angle;
  }
  if (!(minDistance > 10.0f && 0.5f * box.x > maxDistance - minDistance)) return false;
  if (std::fabs(winding) < leastWinding) return false;
  const float direction = winding > 0.0f ? 1.0f : -1.0f;
  for (const float quarter : quarterWinding) {
    if (quarter * direction < leastQuarterWinding) return false;
  }
  return true;
}
