#pragma once

#include "harness/StationRound.h"

class Hand;

// Walks the hand from colour station to colour station of the 3 x 2 grid in
// a StationRound's order, as a person looking for the right colours would.
class StationTour {
 public:
  // One frame of the walk over a drawing area of that size; true in the
  // frame the hand reaches a station.
  bool step(Hand &hand, const TwoFloats &area);

 private:
  StationRound round;
  int heading = -1;
};
