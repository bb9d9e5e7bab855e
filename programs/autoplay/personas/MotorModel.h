#pragma once

#include "personas/CircleMotion.h"
#include "personas/Reach.h"

#include "base/TwoFloats.h"

#include <cstdint>
#include <memory>
#include <random>

struct Persona;

// A persona's hand on the mouse, apart from any plan of what to do: it
// reaches, rests, draws circles, shakes (tiring after a while) and drifts
// within human limits, with a tremor while it moves and nothing at all to
// report while it rests, and is asked where the pointer is at each moment
// the mouse reports. Commands take effect at the time last asked for and
// replace what the hand was doing, unless it is already doing just that.
// Times in seconds; positions in drawing-area units.
class MotorModel {
 public:
  MotorModel(const Persona &persona, const TwoFloats &area, const TwoFloats &start, uint32_t seed);
  ~MotorModel();

  // Onto a target of that width (its smaller side).
  void reachTo(const TwoFloats &target, float width);
  void hold();
  void circleAround(const TwoFloats &centre);
  // Shakes from side to side at the persona's rate and amplitude, about the
  // point nearest the centre that leaves room on either side.
  void shakeAround(const TwoFloats &centre);
  // Slow, small wandering moves about the hand's place.
  void driftAround();
  // Presses and releases the button once the hand has come to rest.
  void click() { clickWanted = true; }
  // A wanted click, taken once.
  bool takeClick();

  // Resting, neither reaching nor moving about.
  bool resting() const { return motion == Motion::resting; }
  // A shake's share of its fresh rate and size, as the arm tires and recovers.
  double shakeVigour() const;
  // Where the hand is, tremor aside.
  const TwoFloats &position() const { return hand; }
  // Moves time on to `seconds` and gives the pointer's place then, the hand
  // plus its tremor; false while a trackpad finger is lifted or the hand
  // rests (no motion).
  bool pointerAt(double seconds, TwoFloats &pointer);

 private:
  enum class Motion { resting, reaching, circling, shaking, drifting };
  TwoFloats handAt(double seconds);
  TwoFloats tremorAt(double seconds) const;
  TwoFloats shakeAt(double seconds);
  TwoFloats driftAt(double seconds) const;

  const Persona &persona;
  TwoFloats area;
  std::mt19937 random;
  Motion motion = Motion::resting;
  TwoFloats hand;
  double now = 0.0;
  // The reach under way, also the way onto a circle.
  Reach reach;
  std::unique_ptr<CircleMotion> circle;
  // Where a shake or a drift is about, where it began and when.
  TwoFloats about;
  TwoFloats from;
  double since = 0.0;
  // Per-axis tremor rates and phases.
  double tremorHz[2] = {0.0, 0.0};
  double tremorPhase[2] = {0.0, 0.0};
  bool clickWanted = false;
  // The pointer starts where the hand is: nothing to report until it moves.
  bool restReported = true;
  // Seconds of shaking not yet recovered from, and the shake's phase.
  double shakeSeconds = 0.0;
  double shakePhase = 0.0;
};
