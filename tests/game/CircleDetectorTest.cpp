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

TEST(CircleDetector, StillMouseLinesAndJitterAreNot) {
  // Judged once the history has filled.
  // Back and forth through the centre of its own box.
  CircleDetector line;
  const auto lineResults = run(line, 96, [](int f) {
    const int t = f % 16;
    return TwoFloats(300 + 50 * (t < 8 ? t : 16 - t), 300);
  });
  EXPECT_EQ(count(lineResults, 32), 0);
  // A ring too small to stay more than 10 units from its centre.
  CircleDetector jitter;
  EXPECT_EQ(count(run(jitter, 96, [](int f) { return onCircle(TwoFloats(640, 360), 8, f / 16.0f); }), 32), 0);
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
  EXPECT_EQ(count(wideResults, 32), 32);
  EXPECT_EQ(count(tallResults, 32), 0);
}

TEST(CircleDetector, TheBoxAlwaysReachesTheOriginAndTheFarCorner) {
  // A still mouse outside the drawing area is measured against a box that
  // still reaches (0, 0) or (1280, 720): it sits on a corner of that box, at
  // one distance from its centre, yet it does not go round it.
  CircleDetector negative;
  EXPECT_EQ(count(run(negative, 64, [](int) { return TwoFloats(-50, -50); }), 0), 0);
  CircleDetector beyond;
  EXPECT_EQ(count(run(beyond, 64, [](int) { return TwoFloats(1400, 800); }), 0), 0);
  EXPECT_NEAR(beyond.getExtent().x, 120.0f, 0.01f);
  EXPECT_NEAR(beyond.getExtent().y, 80.0f, 0.01f);
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
      [](int f) { return f % 3 == 0 ? TwoFloats(300, 300) : f % 3 == 1 ? TwoFloats(700, 300) : TwoFloats(500, 600); },
  };
  int index = 0;
  for (const auto &path : paths) {
    CircleDetector detector;
    EXPECT_EQ(count(run(detector, 96, path), 0), 0) << "path " << index++;
  }
}

TEST(CircleDetector, OnlyTheLast32UpdatesCount) {
  CircleDetector detector;
  run(detector, 64, [](int f) { return onCircle(TwoFloats(640, 360), 150, f / 32.0f); });
  // A still mouse replaces the ring frame by frame; the last ring sample
  // leaves the history on the 32nd still frame.
  const auto results = run(detector, 40, [](int) { return TwoFloats(790, 360); });
  EXPECT_TRUE(results[0]);
  EXPECT_FALSE(results.back());
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

}  // namespace
