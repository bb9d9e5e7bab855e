#pragma once

#include "base/TwoFloats.h"

#include <random>
#include <vector>

struct Persona;

// One reaching movement of a persona's hand, planned when it starts: a
// minimum-jerk stroke whose duration follows the persona's Fitts's law,
// never faster than its peak speed allows, that overshoots by a few percent
// and settles on an end point spread about the target as aimed movements'
// end points are (a normal spread whose effective width, 4.133 sigma along
// the movement, is the target's width: about 4 % land outside it). A landing
// outside the target is followed, a correction latency later, by a
// corrective sub-movement, until one lands inside. On a trackpad a long
// reach is cut into strokes of at most the persona's stroke length, with the
// finger lifted (the pointer quite still) between them. Times in seconds.
class Reach {
 public:
  // The effective width of a spread of end points, in standard deviations along the movement.
  static constexpr double effectiveWidth = 4.133;
  // Seeing the miss and starting again: a visual feedback loop.
  static constexpr double correctionLatency = 0.15;
  // After this many corrections the hand lands inside.
  static constexpr int mostCorrections = 3;
  // A minimum-jerk movement's peak speed is this times its mean speed.
  static constexpr double minimumJerkPeak = 1.875;

  // A reach that has already ended where it began.
  Reach() = default;
  // From `from` to a target of that width (its smaller side), beginning at `start`.
  Reach(const Persona &persona, const TwoFloats &from, const TwoFloats &target, float width, std::mt19937 &random,
        double start);

  // Fitts's time for the persona's device over that distance to a target of that width.
  static double fittsSeconds(const Persona &persona, float distance, float width);

  TwoFloats at(double seconds) const;
  // Between two trackpad strokes: nothing moves.
  bool lifted(double seconds) const;
  double end() const;
  const TwoFloats &target() const { return aim; }
  // Where the reach comes to rest: within half the width of the target.
  const TwoFloats &landing() const { return rest; }
  // Where the first sub-movement ended, and how many corrections followed it.
  const TwoFloats &firstLanding() const { return first; }
  int corrections() const { return correctionCount; }

 private:
  struct Stroke {
    double start;
    double seconds;
    TwoFloats from;
    TwoFloats to;
  };
  // Where one sub-movement from `from` ends, drawn from the spread about the
  // target; inside the target when `inside`.
  static TwoFloats endPoint(const TwoFloats &from, const TwoFloats &target, float width, std::mt19937 &random,
                            bool inside);
  // Strokes from one point to another taking `seconds` from time t on; t moves to their end.
  void addStrokes(const Persona &persona, const TwoFloats &from, const TwoFloats &to, double seconds, double &t);

  std::vector<Stroke> strokes;
  TwoFloats first;
  int correctionCount = 0;
  TwoFloats origin;
  TwoFloats aim;
  TwoFloats rest;
  double begin = 0.0;
};
