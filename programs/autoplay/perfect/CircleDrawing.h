#pragma once

#include "base/TwoFloats.h"

class Hand;

// Draws circles with the hand: first to the circle, then round it at a
// steady pace, one motion a frame.
class CircleDrawing {
 public:
  CircleDrawing(float radius, int framesPerTurn);

  void step(Hand &hand, const TwoFloats &centre);

 private:
  TwoFloats pointAt(const TwoFloats &centre) const;

  float radius;
  int framesPerTurn;
  int frame = 0;
  bool onCircle = false;
};
