#include "personas/PersonaWorld3.h"

#include "personas/MotorModel.h"
#include "personas/Sight.h"

#include <algorithm>

namespace {

// A disc this much redder than it is green or blue looks red (the rings' own
// orange is 0.41 redder; the flash's red, drawn over the background, about 0.9).
const float redness = 0.6f;
// Flashes further apart than this are no beat to keep.
const double longestBeat = 5.0;
// No flash seen in this long: the flashes are too small to see.
const double noFlashPatience = 8.0;
// A hand keeping a beat starts a little early.
const double leadSeconds = 0.1;

}  // namespace

std::string PersonaWorld3::activity() const {
  if (!shaking) return "keeping still until the rings turn red";
  return seenRed ? "shaking the mouse while the rings flash" : "shaking in time for the next flash";
}

bool PersonaWorld3::redSeen(const Glance &glance) {
  for (int i = 0; i < glance.discCount; ++i) {
    const ThreeFloats &c = glance.discs[static_cast<size_t>(i)].colour;
    if (c.x - std::max(c.y, c.z) > redness) return true;
  }
  return false;
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
  if (startedAt < 0.0) startedAt = sight.now();
  // Red in two frames running: not a flicker of the eyes.
  learnBeat(sight.now() - sight.reactionSeconds(), redSeen(sight.view()) && redSeen(sight.view(Sight::frameSeconds)));
  // Rings too small to make out, or no flash noticed in a long while: it shakes on regardless.
  const bool blind = sight.now() - startedAt > noFlashPatience && lastOnset < 0.0;
  shaking = seenRed || flashDue(sight.now()) || blind;
  if (shaking)
    hand.shakeAround(hand.position());
  else
    hand.hold();
}
