#include "framework/app/FramePacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

struct Paints {
  int steps = 0;
  int fewestPerPaint = 1000;
  int mostPerPaint = 0;
};

// Paints for `seconds` after a first paint at 0, the gaps between them
// taken from `pattern` over and over.
Paints paint(FramePacer &pacer, const std::vector<double> &pattern, double seconds, double start = 0.0) {
  Paints result;
  double now = start;
  for (size_t i = 0; now + pattern[i % pattern.size()] <= start + seconds + 1e-9; ++i) {
    now += pattern[i % pattern.size()];
    const int steps = pacer.stepsAt(now);
    result.steps += steps;
    result.fewestPerPaint = std::min(result.fewestPerPaint, steps);
    result.mostPerPaint = std::max(result.mostPerPaint, steps);
  }
  return result;
}

}  // namespace

TEST(FramePacer, SixtyStepsASecondWhateverTheDisplayPaintsAt) {
  struct Case {
    const char *display;
    std::vector<double> gaps;
    int fewest, most;
  };
  const Case cases[] = {
      {"60 Hz", {1.0 / 60}, 1, 1},
      // Paints 3 ms early, 3 ms late, on time.
      {"60 Hz with jitter", {1.0 / 60 - 0.003, 1.0 / 60 + 0.006, 1.0 / 60 - 0.003}, 1, 1},
      {"59.94 Hz", {1.0 / 59.94}, 1, 1},
      {"75 Hz", {1.0 / 75}, 0, 1},
      {"120 Hz", {1.0 / 120}, 0, 1},
      {"144 Hz", {1.0 / 144}, 0, 1},
      {"20 Hz", {1.0 / 20}, 3, 3},
  };
  for (const Case &c : cases) {
    FramePacer pacer;
    ASSERT_EQ(1, pacer.stepsAt(0.0)) << c.display;
    const Paints paints = paint(pacer, c.gaps, 10.0);
    EXPECT_NEAR(600, paints.steps, 1) << c.display;
    EXPECT_EQ(c.fewest, paints.fewestPerPaint) << c.display;
    EXPECT_EQ(c.most, paints.mostPerPaint) << c.display;
  }
}

TEST(FramePacer, SlowPaintsAndPausesAreNotCaughtUp) {
  FramePacer pacer;
  pacer.stepsAt(0.0);
  // Ten paints a second: the steps are capped, and the game runs slow.
  const Paints slow = paint(pacer, {0.1}, 1.0);
  EXPECT_EQ(10 * FramePacer::MaxStepsPerPaint, slow.steps);
  // What went over the cap is not owed later.
  EXPECT_EQ(60, paint(pacer, {1.0 / 60}, 1.0, 1.0).steps);
  // A hidden tab: one step on its return, then the pace again.
  EXPECT_EQ(1, pacer.stepsAt(2.0 + 30.0));
  EXPECT_EQ(1, pacer.stepsAt(32.0 + 1.0 / 60));
  // A clock that goes back is a pause too.
  EXPECT_EQ(1, pacer.stepsAt(10.0));
}
