#include "personas/PersonaWorld3.h"

#include "personas/MotorModel.h"
#include "personas/Sight.h"

#include "game/World.h"

#include <algorithm>

namespace {

const ThreeFloats red(1.0f, 0.0f, 0.0f);
// A tenth of the way to red catches the eye.
const float rednessSeen = 0.1f;
const int world = 3;
// Flashes further apart than this are no beat to keep.
const double longestBeat = 5.0;
// A hand keeping a beat starts a little early.
const double leadSeconds = 0.1;

}  // namespace

std::string PersonaWorld3::activity() const {
  if (!shaking) return "keeping still until the rings turn red";
  return seenRed ? "shaking the mouse while the rings are red" : "shaking in time for the next red flash";
}

float PersonaWorld3::redness(const Sight &sight) const {
  float most = 0.0f;
  for (int k = 0; k < 3; ++k) {
    const SceneView::Ring *ring = sight.view().ring(world, k);
    const float span = World::colourDistance(resting[k], red);
    if (!ring || span <= 0.0f) continue;
    most = std::max(most, World::colourDistance(ring->colour, resting[k]) / span);
  }
  return most;
}

void PersonaWorld3::learnBeat(double shownAt, bool red) {
  if (red && !seenRed) {
    if (lastOnset >= 0.0) beatSeconds = shownAt - lastOnset;
    lastOnset = shownAt;
  } else if (!red && seenRed) {
    flashSeconds = shownAt - lastOnset;
  }
  seenRed = red;
}

bool PersonaWorld3::flashDue(double now) const {
  if (beatSeconds <= 0.0 || beatSeconds > longestBeat || flashSeconds <= 0.0) return false;
  const double next = lastOnset + beatSeconds;
  return now >= next - leadSeconds && now <= next + flashSeconds;
}

void PersonaWorld3::act(const Sight &sight, MotorModel &hand) {
  if (!restingSeen) {
    for (int k = 0; k < 3; ++k) {
      if (const SceneView::Ring *ring = sight.view().ring(world, k)) resting[k] = ring->colour;
    }
    restingSeen = true;
  }
  learnBeat(sight.now() - sight.reactionSeconds(), redness(sight) >= rednessSeen);
  shaking = seenRed || flashDue(sight.now());
  if (shaking)
    hand.shakeAround(hand.position());
  else
    hand.hold();
}
