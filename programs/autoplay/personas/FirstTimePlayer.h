#pragma once

#include "personas/PersonaStrategy.h"
#include "personas/ScreenSweep.h"

#include "base/ThreeFloats.h"
#include "base/TwoFloats.h"

// A player who has never played: it knows no world's rule. It has one
// repertoire of what people try with a mouse in front of a screen that does
// not explain itself (wander, comb the screen, move towards what is there,
// draw circles, drift slowly, shake, hold still, move with a pulse it sees),
// the same in every world. It watches for the screen's answer, keeps doing
// what answers (and goes back to where the rings grew), keeps an action for
// another spell while the rings come out of it larger or nearer the middle,
// and drops it otherwise. It begins each world with what answered
// last.
class FirstTimePlayer final : public PersonaStrategy {
 public:
  enum class Action { wander, comb, approach, circles, drift, shake, still, pulse };
  static constexpr int ActionCount = 8;
  // A world that has not been worked out in this long is given up.
  static constexpr double giveUpSeconds = 180.0;

  FirstTimePlayer();

  // A new world has come: a fresh start with what answered last.
  void newWorld(const Sight &sight);
  void act(const Sight &sight, MotorModel &hand) override;
  std::string activity() const override;

  // True once, on the frame the player first noticed an answer in this world.
  bool takeFirstAnswer();
  bool gaveUp(const Sight &sight) const { return secondsInWorld(sight) >= giveUpSeconds; }
  double secondsInWorld(const Sight &sight) const;

 private:
  void watch(const Sight &sight, MotorModel &hand);
  void tryAction(const Sight &sight, MotorModel &hand);
  void nextAction(const Sight &sight);
  void beginSpell(const Sight &sight);
  void followColour(const Sight &sight, MotorModel &hand);
  void startHold(const TwoFloats &at, const Sight &sight, MotorModel &hand);
  void nudge(const Sight &sight, MotorModel &hand);
  // Actions that answer where the hand is rather than how it moves.
  static bool placeAction(Action action) { return action == Action::wander || action == Action::comb; }

  Action action = Action::wander;
  Action lastAnswered = Action::wander;
  double worldStart = 0.0;
  double actionStart = 0.0;
  // The biggest ring's radius and its distance from the middle as the spell began.
  float spellRadius = 0.0f;
  float spellOffCentre = 0.0f;
  double lastGrowth = -1.0;
  double lastMoved = -1.0;
  bool answered = false;
  // The action was kept only because the rings were growing as its spell ended.
  bool onTrust = false;
  bool answerToTell = false;
  // Gone back to where the rings grew, holding still there.
  bool holding = false;
  // It has gone back for the growth under way.
  bool wentBack = false;
  TwoFloats holdAt;
  // Nudging about where the rings grew: the best place yet, when the last nudge
  // began, its length, the ways tried in vain, and whether one has answered.
  TwoFloats bestAt;
  double holdStart = 0.0;
  double nudgedAt = -1.0;
  float nudgeStep = 0.0f;
  int nudgeMisses = 0;
  bool climbed = false;
  // The background as the world came, how far it has shifted from that and where the hand was then.
  ThreeFloats firstBackground;
  float mostShift = 0.0f;
  TwoFloats mostShiftAt;
  double lastShift = -1.0;
  ScreenSweep comb;
  TwoFloats wanderTo;
  bool wandering = false;
  uint32_t draws = 1;
};
