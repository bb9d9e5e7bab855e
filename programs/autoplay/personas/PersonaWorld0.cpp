#include "personas/PersonaWorld0.h"

#include "personas/MotorModel.h"
#include "personas/ScreenChanges.h"
#include "personas/Sight.h"

namespace {

// As CIE76 differences from the background first seen.
const float warmthNoticed = 4.0f;
// Cooler than the warmest by this much: the spot has been passed.
const float passedBy = 6.0f;
// Back to about the first colour, for this long beyond the reaction: lost.
const float cold = PixelEyes::JustNoticeable;
const double coldPatience = 1.0;
// A short look at each stop of the comb.
const double linger = 0.15;
const float restWidth = 32.0f;

}  // namespace

std::string PersonaWorld0::activity() const {
  switch (phase) {
    case Phase::sweeping: return "combing the screen for warmth";
    case Phase::returning: return "going back to where it was warmest";
    case Phase::resting: return "holding still where it is warm";
  }
  return "";
}

void PersonaWorld0::act(const Sight &sight, MotorModel &hand) {
  const Glance &seen = sight.view();
  if (!firstSeen) {
    first = seen.background;
    firstSeen = true;
  }
  const float seenWarmth = ScreenChanges::colourDifference(seen.background, first);
  switch (phase) {
    case Phase::sweeping: sweep(sight, hand, seenWarmth); break;
    case Phase::returning:
      hand.reachTo(warmestAt, restWidth);
      if (hand.resting()) phase = Phase::resting;
      break;
    case Phase::resting: rest(sight, seenWarmth); break;
  }
}

void PersonaWorld0::sweep(const Sight &sight, MotorModel &hand, float seenWarmth) {
  if (seenWarmth > warmest) {
    warmest = seenWarmth;
    // Where the hand was about a reaction ago, as the persona reckons it.
    warmestAt = sight.handAbout(sight.reactionSeconds());
  }
  if (warmest >= warmthNoticed && seenWarmth < warmest - passedBy) {
    phase = Phase::returning;
    return;
  }
  comb.step(sight, hand, linger);
}

void PersonaWorld0::rest(const Sight &sight, float seenWarmth) {
  if (seenWarmth >= cold) {
    coldSince = -1.0;
    return;
  }
  if (coldSince < 0.0) coldSince = sight.now();
  if (sight.now() - coldSince < sight.reactionSeconds() + coldPatience) return;
  phase = Phase::sweeping;
  warmest = 0.0f;
  coldSince = -1.0;
}
