#include "personas/FirstTimePlayer.h"

#include "personas/MotorModel.h"
#include "personas/ScreenChanges.h"
#include "personas/Sight.h"

#include <cmath>

namespace {

// How long an action is tried with no answer before the next.
const double spellSeconds = 8.0;
// What the rings must have gained over a spell for the action to be kept.
const float netGrowth = 4.0f;
// Back where the rings grew: holds still for this long without growth beyond the reaction.
const double holdPatience = 2.0;
const float holdWidth = 32.0f;
// A look at each stop while combing.
const double combLinger = 0.3;
const float wanderWidth = 48.0f;
// What is there has moved this far: aim again.
const float reaimBy = 40.0f;
const float approachWidth = 24.0f;
// A change counts as an answer only while the hand moves or just after.
const double answerAfterMoving = 0.6;

const char *const names[FirstTimePlayer::ActionCount] = {
    "wandering about", "combing the screen", "moving towards what is there", "drawing circles", "shaking the mouse",
    "holding still",   "drifting slowly",    "moving with the pulse it sees"};

// A well-mixed number from a counter: the player's own whims, the same from run to run.
float whim(uint32_t &counter) {
  uint32_t x = ++counter * 2654435761u;
  x ^= x >> 15;
  x *= 2246822519u;
  x ^= x >> 13;
  return static_cast<float>(x & 0xffffffu) / 16777216.0f;
}

}  // namespace

FirstTimePlayer::FirstTimePlayer() = default;

void FirstTimePlayer::newWorld(const Sight &sight) {
  worldStart = actionStart = sight.now();
  spellRadius = ScreenChanges::largestRadius(sight.view());
  action = lastAnswered;
  answered = holding = wandering = false;
  lastGrowth = -1.0;
}

double FirstTimePlayer::secondsInWorld(const Sight &sight) const { return sight.now() - worldStart; }

bool FirstTimePlayer::takeFirstAnswer() {
  const bool tell = answerToTell;
  answerToTell = false;
  return tell;
}

std::string FirstTimePlayer::activity() const {
  return holding ? "holding still where the rings grew" : names[static_cast<int>(action)];
}

void FirstTimePlayer::act(const Sight &sight, MotorModel &hand) {
  if (!hand.resting()) lastMoved = sight.now();
  watch(sight, hand);
  if (holding) {
    hand.reachTo(holdAt, holdWidth);
    if (sight.now() - lastGrowth > sight.reactionSeconds() + holdPatience) holding = false;
    return;
  }
  if (sight.now() - actionStart > spellSeconds) {
    // Kept for another spell only if the rings have come out larger for it, not just grown and shrunk back.
    const float radius = ScreenChanges::largestRadius(sight.view());
    if (radius > spellRadius + netGrowth) {
      actionStart = sight.now();
      spellRadius = radius;
    } else {
      nextAction(sight);
    }
  }
  tryAction(sight, hand);
}

void FirstTimePlayer::watch(const Sight &sight, MotorModel &hand) {
  const bool moving = sight.now() - lastMoved < answerAfterMoving;
  const bool grew = ScreenChanges::growing(sight);
  if (!answered && moving && (grew || ScreenChanges::shrinking(sight) || ScreenChanges::recoloured(sight))) {
    answered = true;
    answerToTell = true;
  }
  if (!grew) return;
  if (lastGrowth < actionStart) lastAnswered = action;
  // Where the hand was as the growth began, as the persona reckons it: it goes back there.
  if (!holding && placeAction(action) && lastGrowth < sight.now() - sight.reactionSeconds() - holdPatience) {
    holding = true;
    holdAt = sight.handAbout(sight.reactionSeconds() + ScreenChanges::grownFor(sight) * 0.5);
    hand.hold();
  }
  lastGrowth = sight.now();
}

void FirstTimePlayer::nextAction(const Sight &sight) {
  action = static_cast<Action>((static_cast<int>(action) + 1) % ActionCount);
  actionStart = sight.now();
  spellRadius = ScreenChanges::largestRadius(sight.view());
  wandering = false;
}

void FirstTimePlayer::tryAction(const Sight &sight, MotorModel &hand) {
  const Glance &seen = sight.view();
  const TwoFloats centre = seen.area * 0.5f;
  const TwoFloats there = seen.discCount > 0 ? seen.discs[0].centre : centre;
  switch (action) {
    case Action::wander:
      if (!wandering || hand.resting()) {
        wanderTo = TwoFloats(whim(draws) * seen.area.x, whim(draws) * seen.area.y);
        wandering = true;
      }
      hand.reachTo(wanderTo, wanderWidth);
      break;
    case Action::comb: comb.step(sight, hand, combLinger); break;
    case Action::approach:
      if (hand.resting() || (there - wanderTo).length() > reaimBy) {
        wanderTo = there;
        hand.reachTo(there, approachWidth);
      }
      break;
    case Action::circles:
      // Round what is there as the circles begin: a hand does not follow every wobble.
      if (!wandering) {
        wanderTo = there;
        wandering = true;
      }
      hand.circleAround(wanderTo);
      break;
    case Action::shake: hand.shakeAround(hand.position()); break;
    case Action::still: hand.hold(); break;
    case Action::drift: hand.driftAround(); break;
    case Action::pulse:
      // Moves while the picture changes, rests while it does not.
      if (ScreenChanges::recoloured(sight) || ScreenChanges::growing(sight) || ScreenChanges::shrinking(sight))
        hand.shakeAround(hand.position());
      else
        hand.hold();
      break;
  }
}
