#pragma once

#include "base/TwoFloats.h"

class MotorModel;
class Sight;

// A persona combing the screen for the place that answers: row by row,
// stopping every few hundred units long enough to see what the screen does
// there, so that no point of the screen is far from where it stopped. Nothing
// tells it where to look.
class ScreenSweep {
 public:
  // One frame of the sweep.
  void step(const Sight &sight, MotorModel &hand, double lingerSeconds);
  // Where it stops next, and how many stops a whole sweep has.
  static TwoFloats stop(int index, const TwoFloats &area);
  static int stopCount(const TwoFloats &area);

 private:
  int heading = -1;
  double arrivedAt = -1.0;
};
