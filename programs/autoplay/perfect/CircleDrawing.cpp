#include "perfect/CircleDrawing.h"

#include "harness/Hand.h"

#include <cmath>

CircleDrawing::CircleDrawing(float radius, int framesPerTurn) : radius(radius), framesPerTurn(framesPerTurn) {}

TwoFloats CircleDrawing::pointAt(const TwoFloats &centre) const {
  const float angle = 2.0f * 3.1415927f * static_cast<float>(frame) / static_cast<float>(framesPerTurn);
  return centre + TwoFloats(std::cos(angle), std::sin(angle)) * radius;
}

void CircleDrawing::step(Hand &hand, const TwoFloats &centre) {
  if (!onCircle) {
    onCircle = hand.moveToward(pointAt(centre));
    return;
  }
  frame = (frame + 1) % framesPerTurn;
  hand.moveTo(pointAt(centre));
}
