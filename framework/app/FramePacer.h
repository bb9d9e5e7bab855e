#pragma once

// Turns paints into game steps where the display, not the game, sets the
// pace (the browser paints at the display's rate: 60, 75, 144 Hz...). The game
// advances in steps of 1/60 s, so each paint runs the steps its share of time
// owes: none, one or several, at most MaxStepsPerPaint; time owed beyond that
// is let go rather than caught up in a burst. A gap of more than PauseSeconds
// between paints (a hidden tab, a stopped debugger) is a pause: play resumes
// with one step, as after the first paint.
class FramePacer final {
 public:
  static constexpr double StepSeconds = 1.0 / 60.0;
  static constexpr int MaxStepsPerPaint = 4;
  static constexpr double PauseSeconds = 0.25;

  // The steps to run at a paint at `seconds` on a steady clock.
  int stepsAt(double seconds);

 private:
  bool painted = false;
  double lastPaint = 0.0;
  // Time owed to steps not run yet; a little below 0 after a paint a hair
  // early took its step all the same.
  double owed = 0.0;
};
