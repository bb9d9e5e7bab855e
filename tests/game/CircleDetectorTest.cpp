#include "game/CircleDetector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace {

const float pi = 3.14159265f;

// Feeds one mouse position per frame from path(frame) and returns every
// frame's result.
std::vector<bool> run(CircleDetector &detector, int frames, const std::function<TwoFloats(int)> &path) {
  std::vector<bool> results;
  for (int frame = 0; frame < frames; ++frame) {
    detector.setMousePos(path(frame));
    results.push_back(detector.update());
  }
  return results;
}

TwoFloats onCircle(TwoFloats centre, float radius, float turns) {
  const float angle = turns * 2.0f * pi;
  return TwoFloats(centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle));
}

int count(const std::vector<bool> &results, int from) {
  int n = 0;
  for (size_t i = from; i < results.size(); ++i) n += results[i];
  return n;
}

TEST(CircleDetector, ANewDetectorSeesNoCircle) {
  CircleDetector detector;
  EXPECT_FALSE(detector.update());
}

TEST(CircleDetector, EvenPointsOnARingAreACircle) {
  CircleDetector detector;
  const auto results = run(detector, 32, [](int f) { return onCircle(TwoFloats(640, 360), 100, f / 32.0f); });
  EXPECT_TRUE(results.back());
  EXPECT_NEAR(detector.getExtent().x, 200.0f, 2.5f);
  EXPECT_NEAR(detector.getExtent().y, 200.0f, 2.5f);
}

TEST(CircleDetector, OnlyTheWidthLimitsTheSpreadOfDistances) {
  // dMax - dMin = 150 in both; half the width is 200 for the wide ellipse, 50 for the tall one.
  CircleDetector wide, tall;
  const auto wideResults = run(wide, 64, [](int f) {
    const float a = f / 32.0f * 2.0f * pi;
    return TwoFloats(640 + 200 * std::cos(a), 360 + 50 * std::sin(a));
  });
  const auto tallResults = run(tall, 64, [](int f) {
    const float a = f / 32.0f * 2.0f * pi;
    return TwoFloats(640 + 50 * std::cos(a), 360 + 200 * std::sin(a));
  });
  // So flat a loop turns slowly about its centre near the ends of its long axis.
  EXPECT_GE(count(wideResults, 32), 28);
  EXPECT_EQ(count(tallResults, 32), 0);
}

TEST(CircleDetector, StillAndJumpingMiceAreNeverCirclesFromTheFirstFrame) {
  const std::function<TwoFloats(int)> paths[] = {
      [](int) { return TwoFloats(500, 300); },
      [](int) { return TwoFloats(0, 0); },
      // One jump, then still.
      [](int f) { return f < 10 ? TwoFloats(200, 200) : TwoFloats(900, 500); },
      // Two places in turn: two clusters at one distance from the box's centre.
      [](int f) { return (f / 5) % 2 ? TwoFloats(300, 400) : TwoFloats(800, 200); },
      // Three places in turn: still not round the centre.
      [](int f) { return f % 3 == 0   ? TwoFloats(300, 300)
                         : f % 3 == 1 ? TwoFloats(700, 300)
                                      : TwoFloats(500, 600); },
  };
  int index = 0;
  for (const auto &path : paths) {
    CircleDetector detector;
    EXPECT_EQ(count(run(detector, 96, path), 0), 0) << "path " << index++;
  }
}

TEST(CircleDetector, AMouseThatStopsSoonStopsCounting) {
  CircleDetector detector;
  run(detector, 160, [](int f) { return onCircle(TwoFloats(640, 360), 150, f / 32.0f); });
  // Stopped on the ring: the older turns still lie in the longer spans, but
  // none is still turning once half a second has passed.
  const auto results = run(detector, 60, [](int) { return TwoFloats(790, 360); });
  EXPECT_TRUE(results[0]);
  EXPECT_EQ(count(results, 32), 0);
}

// A hand-drawn circle recorded as several mouse events per frame, with a
// wobbling radius and a drifting centre, drawn at several speeds.
TEST(CircleDetector, RecordedCircleAtSeveralSpeeds) {
  const auto hand = [](float turns) {
    const float wobble = 1.0f + 0.08f * std::sin(turns * 2.0f * pi * 3.0f);
    const TwoFloats centre(600 + 20 * std::sin(turns * 1.3f), 380 + 15 * std::cos(turns * 0.7f));
    return onCircle(centre, 160 * wobble, turns);
  };
  for (int framesPerTurn : {12, 20, 32}) {
    CircleDetector detector;
    std::vector<bool> results;
    for (int frame = 0; frame < 6 * framesPerTurn; ++frame) {
      // Four mouse events per frame; the last before the update counts.
      for (int event = 1; event <= 4; ++event)
        detector.setMousePos(hand((frame + event / 4.0f) / static_cast<float>(framesPerTurn)));
      results.push_back(detector.update());
    }
    EXPECT_EQ(count(results, 32), static_cast<int>(results.size()) - 32) << framesPerTurn << " frames per turn";
  }
  // A straight drag of the same length and pace passes through the centre
  // of its box: never a circle.
  CircleDetector drag;
  std::vector<bool> results;
  for (int frame = 0; frame < 120; ++frame) {
    for (int event = 1; event <= 4; ++event) drag.setMousePos(TwoFloats(100 + (frame + event / 4.0f) * 8.0f, 400));
    results.push_back(drag.update());
  }
  EXPECT_EQ(count(results, 32), 0);
}

// Gestures as people make them, each held for six seconds and judged once
// the longest span has filled: circles from brisk to slow, small to large,
// drawn unevenly (the radius wobbling by a tenth, the pace varying within a
// turn, the centre drifting), on a tall area too; and what is not a circle.
TEST(CircleDetector, GestureTable) {
  struct Gesture {
    const char *name;
    std::function<TwoFloats(int)> path;
    bool circle;
  };
  const auto uneven = [](TwoFloats centre, float radius, float framesPerTurn) {
    return [=](int f) {
      const float t = f / framesPerTurn;
      // Faster and slower by a quarter within each turn.
      const float turns = t + 0.04f * std::sin(t * 2.0f * pi);
      const float wobble = 1.0f + 0.1f * std::sin(turns * 2.0f * pi * 3.0f);
      return onCircle(centre + TwoFloats(15 * std::sin(t * 0.9f), 10 * std::cos(t * 0.6f)), radius * wobble, turns);
    };
  };
  const TwoFloats middle(640, 360);
  const Gesture gestures[] = {
      {"0.4 s a turn, radius 60", uneven(middle, 60, 24), true},
      {"0.6 s a turn, radius 200", uneven(middle, 200, 36), true},
      {"1.0 s a turn, radius 150", uneven(middle, 150, 60), true},
      {"1.2 s a turn, radius 100, the other way", uneven(middle, 100, -72), true},
      {"1.5 s a turn, radius 80", uneven(middle, 80, 90), true},
      {"1.5 s a turn, radius 250", uneven(middle, 250, 90), true},
      {"1.0 s a turn round the middle of a tall area", uneven(TwoFloats(640, 1137), 150, 60), true},
      {"1.5 s a turn round the middle of a tall area", uneven(TwoFloats(640, 1137), 120, 90), true},
      {"still", [](int) { return TwoFloats(500, 300); }, false},
      {"a ring too small to stay 10 units from its centre", [=](int f) { return onCircle(middle, 8, f / 16.0f); },
       false},
      {"one jump", [](int f) { return f < 200 ? TwoFloats(200, 200) : TwoFloats(900, 500); }, false},
      {"two places in turn", [](int f) { return (f / 5) % 2 ? TwoFloats(300, 400) : TwoFloats(800, 200); }, false},
      {"three places in turn",
       [](int f) {
         return f % 3 == 0 ? TwoFloats(300, 300) : f % 3 == 1 ? TwoFloats(700, 300) : TwoFloats(500, 600);
       },
       false},
      {"three places in turn, slowly",
       [](int f) {
         const int p = (f / 10) % 3;
         return p == 0 ? TwoFloats(300, 300) : p == 1 ? TwoFloats(700, 300) : TwoFloats(500, 600);
       },
       false},
      {"a straight drag", [](int f) { return TwoFloats(100 + (f % 120) * 8.0f, 400); }, false},
      {"a shake at 3 Hz", [](int f) { return TwoFloats(640 + 100 * std::sin(f / 20.0f * 2 * pi), 360); }, false},
      {"a diagonal shake at 5 Hz",
       [=](int f) { return middle + TwoFloats(1, 0.6f) * (120 * std::sin(f / 12.0f * 2 * pi)); }, false},
  };
  for (const Gesture &gesture : gestures) {
    CircleDetector detector;
    const auto results = run(detector, 360, gesture.path);
    const int judged = static_cast<int>(results.size()) - 130, seen = count(results, 130);
    if (gesture.circle)
      EXPECT_GE(seen, judged * 9 / 10) << gesture.name;
    else
      EXPECT_EQ(seen, 0) << gesture.name;
  }
}

}  // namespace
