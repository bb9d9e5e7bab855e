#pragma once

#include "harness/StationRound.h"

class MotorModel;
class Sight;

// A persona walking its hand from colour station to colour station of the
// 3 x 2 grid in a StationRound's order, lingering at each long enough to see
// what the rings do there.
class PersonaTour {
 public:
  // Only the stations of the columns whose bits are set (bit 0 = left column).
  explicit PersonaTour(unsigned columns = 7u);

  // One frame of the walk.
  void step(const Sight &sight, MotorModel &hand, double lingerSeconds);
  // Forgets this round: every station may be the one again.
  void newRound();

 private:
  StationRound round;
  int heading = -1;
  double arrivedAt = -1.0;
};
