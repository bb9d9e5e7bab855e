#include "personas/PersonaTour.h"

#include "personas/MotorModel.h"
#include "personas/Sight.h"

namespace {

// Where on a station a hand aims: nothing marks it, a player aims at its corner of the screen.
const float stationWidth = 64.0f;

}  // namespace

PersonaTour::PersonaTour(unsigned columns) : round(columns) {}

void PersonaTour::newRound() { round.newRound(heading >= 0 && arrivedAt >= 0.0 ? heading : -1); }

void PersonaTour::step(const Sight &sight, MotorModel &hand, double lingerSeconds) {
  const TwoFloats &area = sight.view().area;
  if (heading < 0) {
    heading = round.next(hand.position(), area);
    arrivedAt = -1.0;
  }
  const TwoFloats target = StationRound::station(heading, area);
  if (arrivedAt < 0.0) {
    hand.reachTo(target, stationWidth);
    if (hand.resting()) arrivedAt = sight.now();
    return;
  }
  if (sight.now() - arrivedAt < lingerSeconds) return;
  round.visit(heading);
  heading = -1;
}
