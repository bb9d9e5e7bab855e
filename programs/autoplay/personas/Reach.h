#pragma once

#include "base/TwoFloats.h"

#include <random>
#include <vector>

struct Persona;

// One reaching movement of a persona's hand, planned when it starts: a
// minimum-jerk stroke whose duration follows Fitts's law, never faster than
// the persona's peak speed allows, that overshoots by a few percent, then a
// short correction onto a point within the target. On a trackpad a long
// reach is cut into strokes of at most the persona's stroke length, with the
// finger lifted (the pointer quite still) between them. Times in seconds.
class Reach {
 public:
  // Fitts's law: MT = a + b log2(D / W + 1).
  static constexpr double fittsIntercept = 0.1;
  static constexpr double fittsSlope = 0.15;
  // A minimum-jerk movement's peak speed is this times its mean speed.
  static constexpr double minimumJerkPeak = 1.875;

  // A reach that has already ended where it began.
  Reach() = default;
  // From `from` to a target of that width (its smaller side), beginning at `start`.
  Reach(const Persona &persona, const TwoFloats &from, const TwoFloats &target, float width, std::mt19937 &random,
        double start);

  // The duration of one stroke over that distance to a target of that width.
  static double strokeSeconds(const Persona &persona, float distance, float width);

  TwoFloats at(double seconds) const;
  // Between two trackpad strokes: nothing moves.
  bool lifted(double seconds) const;
  double end() const;
  const TwoFloats &target() const { return aim; }
  // Where the reach comes to rest: within a quarter of the width of the target.
  const TwoFloats &landing() const { return rest; }

 private:
  struct Stroke {
    double start;
    double seconds;
    TwoFloats from;
    TwoFloats to;
  };
  // Strokes from one point to another from time t on; t moves to their end.
  void addStrokes(const Persona &persona, const TwoFloats &from, const TwoFloats &to, float width, double &t);

  std::vector<Stroke> strokes;
  TwoFloats origin;
  TwoFloats aim;
  TwoFloats rest;
  double begin = 0.0;
};
