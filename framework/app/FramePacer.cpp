#include "framework/app/FramePacer.h"

#include <cmath>

namespace {

// A paint this fraction of a step early still runs it: at 60 Hz the paints
// come a few milliseconds before or after each step's time (the clock is read
// when the paint's callback runs), and should neither skip a step nor double
// the next.
constexpr double earlyFraction = 0.25;

}  // namespace

int FramePacer::stepsAt(double seconds) {
  const double elapsed = seconds - lastPaint;
  lastPaint = seconds;
  if (!painted || elapsed > PauseSeconds || elapsed < 0.0) {
    painted = true;
    owed = 0.0;
    return 1;
  }
  owed += elapsed;
  const int steps = static_cast<int>(std::floor(owed / StepSeconds + earlyFraction));
  if (steps > MaxStepsPerPaint) {
    owed = 0.0;
    return MaxStepsPerPaint;
  }
  owed -= steps * StepSeconds;
  return steps;
}
