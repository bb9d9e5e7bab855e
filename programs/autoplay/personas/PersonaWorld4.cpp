#include "personas/PersonaWorld4.h"

#include "personas/MotorModel.h"
#include "personas/Sight.h"

namespace {

// The rings count as there within this distance of the centre.
const float centreReach = 32.0f;
const float centreWidth = 16.0f;
// A nudge: a couple of pixels of even a small window, and the rings stay within reach.
const TwoFloats nudge(12.0f, 0.0f);
const float nudgeWidth = 8.0f;
// Nothing has changed for this long beyond the reaction: nudge.
const double patience = 1.5;

}  // namespace

std::string PersonaWorld4::activity() const {
  return arrived ? "waiting with the mouse on the centre" : "bringing the mirrored rings to the centre";
}

bool PersonaWorld4::bringToCentre(const Sight &sight, MotorModel &hand, double &restingSince) {
  const Glance &seen = sight.view();
  const TwoFloats centre = seen.area * 0.5f;
  const bool there = seen.discCount > 0 && (seen.discs[0].centre - centre).length() < centreReach;
  if (!hand.resting()) {
    restingSince = -1.0;
    return there;
  }
  if (restingSince < 0.0) restingSince = sight.now();
  if (sight.now() - restingSince > sight.reactionSeconds() + patience) {
    hand.reachTo(centre + nudge, nudgeWidth);
    restingSince = -1.0;
  } else if (!there) {
    hand.reachTo(centre, centreWidth);
  }
  return there;
}

void PersonaWorld4::act(const Sight &sight, MotorModel &hand) { arrived = bringToCentre(sight, hand, restingSince); }
