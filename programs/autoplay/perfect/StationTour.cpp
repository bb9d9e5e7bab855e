#include "perfect/StationTour.h"

#include "harness/Hand.h"

bool StationTour::step(Hand &hand, const TwoFloats &area) {
  if (heading < 0) heading = round.next(hand.position(), area);
  if (!hand.moveToward(StationRound::station(heading, area))) return false;
  round.visit(heading);
  heading = -1;
  return true;
}
