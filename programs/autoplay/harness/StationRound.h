#pragma once

#include "base/TwoFloats.h"

#include <array>

// The order in which a player looking for the right colours visits the
// colour stations of the 3 x 2 grid: always the nearest one not yet visited
// in this round; when all have been, a new round begins.
class StationRound {
 public:
  // Only the stations of the columns whose bits are set (bit 0 = left column).
  explicit StationRound(unsigned columns = 7u);

  // Where a station lies on a drawing area of that size, as the game lays
  // it out, within the pixels a mouse reaches.
  static TwoFloats station(int index, const TwoFloats &area);
  // The station to head for next from that point (a new round when every
  // one has been visited).
  int next(const TwoFloats &from, const TwoFloats &area);
  void visit(int index) { visited[index] = true; }
  // Every station may be the one again, except the one given (-1 for none).
  void newRound(int except = -1);

 private:
  int nearestUnvisited(const TwoFloats &from, const TwoFloats &area) const;

  unsigned columns;
  std::array<bool, 6> visited{};
};
