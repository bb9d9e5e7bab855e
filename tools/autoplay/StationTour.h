#pragma once

#include "game/TwoFloats.h"

#include <array>

class Hand;

// Walks the hand from colour station to colour station of the 3 x 2 grid,
// always on to the nearest one not yet visited in this round, as a person
// looking for the right colours would; after the sixth a new round begins.
class StationTour {
 public:
  // One frame of the walk over a drawing area of that size; true in the
  // frame the hand reaches a station.
  bool step(Hand &hand, const TwoFloats &area);

 private:
  static TwoFloats station(int index, const TwoFloats &area);
  int nearestUnvisited(const TwoFloats &from, const TwoFloats &area) const;

  std::array<bool, 6> visited{};
  int heading = -1;
};
