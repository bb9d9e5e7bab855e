#include "personas/PersonaWorld3.h"

#include "personas/MotorModel.h"
#include "personas/ScreenChanges.h"
#include "personas/Sight.h"

namespace {

// A colour change plain to see (CIE76) catches the eye.
const float flashSeen = 10.0f;
// Flashes further apart than this are no beat to keep.
const double longestBeat = 5.0;
// A hand keeping a beat starts a little early.
const double leadSeconds = 0.1;

}  // namespace

std::string PersonaWorld3::activity() const {
  if (!shaking) return "keeping still until the rings change colour";
  return seenRed ? "shaking the mouse while the rings flash" : "shaking in time for the next flash";
}

float PersonaWorld3::shift(const Sight &sight) const {
  const Glance &seen = sight.view();
  return seen.discCount > 0 ? ScreenChanges::colourDifference(seen.discs[0].colour, resting) : 0.0f;
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
    if (sight.view().discCount == 0) return;
    resting = sight.view().discs[0].colour;
    restingSeen = true;
  }
  learnBeat(sight.now() - sight.reactionSeconds(), shift(sight) >= flashSeen);
  shaking = seenRed || flashDue(sight.now());
  if (shaking)
    hand.shakeAround(hand.position());
  else
    hand.hold();
}
