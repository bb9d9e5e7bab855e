#include "harness/Hand.h"

#include "harness/EventPusher.h"

#include <cmath>

Hand::Hand(EventPusher &events, const TwoFloats &start) : events(events), where(events.snap(start)) {}

void Hand::newFrame() {
  movedBefore = moved;
  moved = false;
}

bool Hand::moveToward(const TwoFloats &target, float maxStep) {
  const TwoFloats goal = events.snap(target);
  if (goal.x == where.x && goal.y == where.y) return true;
  // A second motion in one frame would be merged away by the application.
  if (moved) return false;
  const TwoFloats offset = goal - where;
  const float length = std::sqrt(offset.x * offset.x + offset.y * offset.y);
  const TwoFloats next = length <= maxStep ? goal : where + offset * (maxStep / length);
  const TwoFloats seen = events.snap(next);
  if (seen.x == where.x && seen.y == where.y) {
    // A step shorter than a pixel: one whole pixel towards the goal.
    const TwoFloats pixel = events.pixelSize();
    moveTo(where + TwoFloats(std::fabs(offset.x) >= pixel.x * 0.5f ? std::copysign(pixel.x, offset.x) : 0.0f,
                             std::fabs(offset.y) >= pixel.y * 0.5f ? std::copysign(pixel.y, offset.y) : 0.0f));
  } else {
    moveTo(next);
  }
  return where.x == goal.x && where.y == goal.y;
}

void Hand::moveTo(const TwoFloats &target) {
  if (moved) return;
  where = events.moveMouse(target);
  moved = true;
}

void Hand::click() { events.click(where); }
