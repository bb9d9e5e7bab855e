#include "personas/FirstTimePlayer.h"

#include "personas/MotorModel.h"
#include "personas/ScreenChanges.h"
#include "personas/Sight.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// How long an action is tried with no answer before the next: a search of
// the screen takes a whole pass over it, a way of moving a few seconds.
const double spellSeconds = 8.0;
const double searchSeconds = 30.0;

// Circles take a few turns before they can count.
const double circlingSeconds = 12.0;
// Grown this recently, the action is still answering as the spell ends.
const double stillAnswering = 2.0;

double spellOf(FirstTimePlayer::Action action) {
  if (action == FirstTimePlayer::Action::comb) return searchSeconds;
  return action == FirstTimePlayer::Action::circles ? circlingSeconds : spellSeconds;
}
// What the rings must have gained over a spell for the action to be kept, in
// size or in how near they have come to the middle of the screen.
const float netGrowth = 4.0f;
const float netApproach = 30.0f;

// How far the biggest disc is from the middle of the screen.
float offCentre(const Glance &glance) { return (glance.discs[0].centre - glance.area * 0.5f).length(); }
// The first and the last moments of a spell, over which the rings are judged.
const double judgeSeconds = 1.0;
// Back where the rings grew: how long a nudge from there is given to answer,
// beyond the reaction (the rings take about a second to glide after a hand),
// and the nudges' first and last lengths, as shares of the screen's diagonal.
const double nudgeSettle = 1.0;
const float firstNudge = 0.05f, lastNudge = 0.006f;
// Nudges that keep answering but never finish the world are left after this long.
const double nudgeBudget = 20.0;
const float holdWidth = 32.0f;
// The background shifted this far from its first colour answers; this much
// back from the most it shifted, the hand has passed the place.
const float colourAnswer = 6.0f;
const float colourPassed = 4.0f;
// A growth this long after the last is a new one.
const double newGrowthAfter = 2.0;
// Growth kept up this long is worth going back for; a moment's is not.
const double sustainedGrowth = 0.2;
// A look at each stop while combing, beyond the reaction.
const double combLinger = 0.4;
const float wanderWidth = 48.0f;
// What is there has moved this far: aim again.
const float reaimBy = 40.0f;
const float approachWidth = 24.0f;
// A change counts as an answer only while the hand moves or just after.
const double answerAfterMoving = 0.6;

const char *const names[FirstTimePlayer::ActionCount] = {
    "wandering about", "combing the screen", "moving towards what is there", "drawing circles", "drifting slowly",
    "shaking the mouse", "holding still", "moving with the pulse it sees"};

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
  worldStart = sight.now();
  beginSpell(sight);
  firstBackground = sight.view().background;
  mostShift = 0.0f;
  lastShift = -1.0;
  action = lastAnswered;
  answered = holding = wandering = wentBack = onTrust = false;
  lastGrowth = -1.0;
}

double FirstTimePlayer::secondsInWorld(const Sight &sight) const { return sight.now() - worldStart; }

bool FirstTimePlayer::takeFirstAnswer() {
  const bool tell = answerToTell;
  answerToTell = false;
  return tell;
}

std::string FirstTimePlayer::activity() const {
  if (holding) return nudgedAt < 0.0 ? "holding still where the rings grew" : "nudging about where the rings grew";
  return names[static_cast<int>(action)];
}

void FirstTimePlayer::act(const Sight &sight, MotorModel &hand) {
  if (!hand.resting()) lastMoved = sight.now();
  watch(sight, hand);
  if (holding) {
    nudge(sight, hand);
    return;
  }
  if (sight.now() - actionStart < judgeSeconds) {
    // The rings as the spell began: at their largest and nearest the middle over its first moments.
    const Glance &seen = sight.view();
    spellRadius = std::max(spellRadius, ScreenChanges::largestRadius(seen));
    if (seen.discCount > 0) spellOffCentre = std::min(spellOffCentre, offCentre(seen));
  } else if (sight.now() - actionStart > spellOf(action)) {
    // Kept for another spell if the rings have come out larger for it or
    // closer to the middle of the screen, beyond how far they swing with the
    // hand; an action still growing them as the spell ends gets one more
    // spell to show it, not more.
    float radius = std::numeric_limits<float>::max(), off = -1.0f;
    for (int frame = 0; frame * Sight::frameSeconds < judgeSeconds; ++frame) {
      const Glance &then = sight.view(frame * Sight::frameSeconds);
      radius = std::min(radius, ScreenChanges::largestRadius(then));
      if (then.discCount > 0) off = std::max(off, offCentre(then));
    }
    const bool nearer = off >= 0.0f && off < spellOffCentre - netApproach;
    const bool gained = radius > spellRadius + netGrowth || nearer;
    const bool growingNow = sight.now() - lastGrowth < stillAnswering;
    if (gained || (growingNow && !onTrust)) {
      onTrust = !gained;
      beginSpell(sight);
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
  followColour(sight, hand);
  if (!grew) return;
  if (lastGrowth < actionStart) lastAnswered = action;
  // A growth after a spell without one is a new answer, worth going back for.
  if (sight.now() - lastGrowth > sight.reactionSeconds() + newGrowthAfter) wentBack = false;
  lastGrowth = sight.now();
  // Where the hand was as the growth began, as the persona reckons it: it goes back there.
  if (holding || wentBack || !placeAction(action) || ScreenChanges::grownFor(sight) < sustainedGrowth) return;
  wentBack = true;
  startHold(sight.handAbout(sight.reactionSeconds() + ScreenChanges::grownFor(sight) * 0.5), sight, hand);
}

void FirstTimePlayer::startHold(const TwoFloats &at, const Sight &sight, MotorModel &hand) {
  holding = true;
  holdAt = bestAt = at;
  nudgedAt = -1.0;
  holdStart = sight.now();
  nudgeStep = sight.view().area.length() * firstNudge;
  nudgeMisses = 0;
  climbed = false;
  hand.hold();
}

void FirstTimePlayer::nudge(const Sight &sight, MotorModel &hand) {
  // Warmer, colder: from where the rings grew, a step one way; further that
  // way while they grow for it, back and another way while they do not, the
  // steps shorter once every way has been tried, until they are too short to
  // matter; given up at once if no way answers the first length.
  hand.reachTo(holdAt, std::min(holdWidth, nudgeStep));
  const double now = sight.now();
  if (now - holdStart > nudgeBudget) {
    holding = false;
    return;
  }
  if (now - std::max({lastGrowth, lastShift, nudgedAt}) < sight.reactionSeconds() + nudgeSettle) return;
  if (nudgedAt >= 0.0 && lastGrowth > nudgedAt) {
    bestAt = holdAt;
    climbed = true;
  } else if (nudgedAt >= 0.0 && ++nudgeMisses % 4 == 0) {
    nudgeStep *= 0.5f;
  }
  // No way answered at the first length: the place was not what mattered.
  if ((nudgeMisses >= 4 && !climbed) || nudgeStep < sight.view().area.length() * lastNudge) {
    holding = false;
    return;
  }
  static const TwoFloats ways[4] = {TwoFloats(1.0f, 0.0f), TwoFloats(0.0f, 1.0f), TwoFloats(-1.0f, 0.0f),
                                    TwoFloats(0.0f, -1.0f)};
  const TwoFloats to = bestAt + ways[nudgeMisses % 4] * nudgeStep, area = sight.view().area;
  holdAt = TwoFloats(std::clamp(to.x, 0.0f, area.x - 1.0f), std::clamp(to.y, 0.0f, area.y - 1.0f));
  nudgedAt = now;
}

void FirstTimePlayer::followColour(const Sight &sight, MotorModel &hand) {
  // The screen's colour shifting while the hand roams: back to where it had shifted most.
  const float shift = ScreenChanges::colourDifference(sight.view().background, firstBackground);
  if (shift >= colourAnswer) lastShift = sight.now();
  if (holding || !placeAction(action)) return;
  if (shift > mostShift) {
    mostShift = shift;
    mostShiftAt = sight.handAbout(sight.reactionSeconds());
  }
  if (mostShift < colourAnswer || shift > mostShift - colourPassed) return;
  mostShift = 0.0f;
  lastGrowth = sight.now();
  startHold(mostShiftAt, sight, hand);
}

void FirstTimePlayer::nextAction(const Sight &sight) {
  action = static_cast<Action>((static_cast<int>(action) + 1) % ActionCount);
  beginSpell(sight);
  wandering = onTrust = false;
}

void FirstTimePlayer::beginSpell(const Sight &sight) {
  actionStart = sight.now();
  spellRadius = 0.0f;
  spellOffCentre = std::numeric_limits<float>::max();
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
    case Action::comb: comb.step(sight, hand, sight.reactionSeconds() + combLinger); break;
    case Action::approach:
      if (hand.resting() || (there - wanderTo).length() > reaimBy) {
        wanderTo = there;
        hand.reachTo(there, approachWidth);
      }
      break;
    // Circles in the middle of the screen, where people draw them.
    case Action::circles: hand.circleAround(centre); break;
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
