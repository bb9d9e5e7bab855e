#include "personas/Persona.h"
#include "personas/Reach.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

struct ReachCase {
  float distance;
  float width;
};

// Short, across a station, across the screen; small and large targets.
const ReachCase reaches[] = {{40.0f, 16.0f}, {300.0f, 64.0f}, {900.0f, 32.0f}, {1200.0f, 100.0f}};

// What a reach did, followed every millisecond, as the fastest mouse reports.
struct Trace {
  float fastest = 0.0f;
  // From where it began.
  float farthest = 0.0f;
  float longestStroke = 0.0f;
  double shortestLift = 1e9;
  bool movedWhileLifted = false;
};

Trace follow(const Reach &reach, const TwoFloats &from, double start) {
  Trace trace;
  const double step = 0.001;
  float stroke = 0.0f;
  double lift = 0.0;
  TwoFloats last = reach.at(start);
  for (double t = start + step; t <= reach.end() + 0.01; t += step) {
    const TwoFloats p = reach.at(t);
    const float moved = (p - last).length();
    last = p;
    trace.fastest = std::max(trace.fastest, moved / static_cast<float>(step));
    trace.farthest = std::max(trace.farthest, (p - from).length());
    if (reach.lifted(t)) {
      // The first lifted moment may still finish the stroke before it.
      trace.movedWhileLifted = trace.movedWhileLifted || (lift > 0.0 && moved > 0.0f);
      lift += step;
      trace.longestStroke = std::max(trace.longestStroke, stroke);
      stroke = 0.0f;
      continue;
    }
    if (lift > 0.0) trace.shortestLift = std::min(trace.shortestLift, lift);
    lift = 0.0;
    stroke += moved;
  }
  trace.longestStroke = std::max(trace.longestStroke, stroke);
  return trace;
}

}  // namespace

// A reach never goes faster than the persona's peak speed, takes at least
// as long as Fitts's law gives, overshoots a long reach by a few percent and
// ends within the target, however its first landing missed; a trackpad's strokes stay within its length, the
// finger lifted and the pointer still between them.
TEST(Reach, StaysWithinTheHandsLimitsAndLandsOnTheTarget) {
  std::mt19937 random(7);
  for (const char *name : {"brisk", "calm", "slow", "trackpad", "shaky"}) {
    const Persona &persona = *Persona::find(name);
    for (const ReachCase &c : reaches) {
      SCOPED_TRACE(std::string(name) + ", " + std::to_string(c.distance) + " units");
      const TwoFloats from(100.0f, 200.0f), target = from + TwoFloats(0.6f, 0.8f) * c.distance;
      const Reach reach(persona, from, target, c.width, random, 2.0);
      const Trace trace = follow(reach, from, 2.0);
      EXPECT_GE(reach.end() - 2.0, Reach::fittsSeconds(persona, c.distance, c.width) * 0.9);
      EXPECT_LE(trace.fastest, persona.peakSpeed * 1.001f);
      EXPECT_LE((reach.at(reach.end()) - target).length(), c.width * 0.5f);
      if (c.distance >= 300.0f) {
        const float way = (reach.firstLanding() - from).length();
        EXPECT_GT(trace.farthest, way * 1.01f);
        EXPECT_LT(trace.farthest, way * 1.07f);
      }
      EXPECT_FALSE(trace.movedWhileLifted);
      if (persona.strokeLength <= 0.0f) continue;
      // A stroke may end with the short correction that follows it without a lift.
      EXPECT_LE(trace.longestStroke, persona.strokeLength * 1.1f);
      if (c.distance > persona.strokeLength) {
        EXPECT_GE(trace.shortestLift, persona.liftSeconds - 0.0015);
      }
    }
  }
}

// Where the hand's peak speed does not hold it back, a reach that lands at
// the first attempt takes Fitts's time for the persona's device; first end
// points spread along the movement with the effective width's deviation
// (W / 4.133), so about 4 % land outside the target and are corrected.
TEST(Reach, FollowsFittsLawAndSpreadsItsEndPointsAsAimedMovementsDo) {
  const struct {
    float distance, width;
  } cases[] = {{80.0f, 20.0f}, {300.0f, 64.0f}, {600.0f, 32.0f}, {500.0f, 100.0f}};
  std::mt19937 random(3);
  for (const char *name : {"brisk", "calm", "shaky", "trackpad"}) {
    const Persona &persona = *Persona::find(name);
    for (const auto &c : cases) {
      SCOPED_TRACE(std::string(name) + ", " + std::to_string(c.distance) + " to " + std::to_string(c.width));
      const double fitts = persona.fittsIntercept + persona.fittsSlope * std::log2(c.distance / c.width + 1.0);
      if (persona.strokeLength > 0.0f && c.distance * 1.1f > persona.strokeLength) continue;
      if (1.875 * c.distance * 1.1 / (fitts * 0.85) > persona.peakSpeed) continue;
      const int count = 2000;
      int misses = 0;
      double alongSquares = 0.0, seconds = 0.0;
      int landedFirst = 0;
      for (int i = 0; i < count; ++i) {
        const TwoFloats from(100.0f, 100.0f), target = from + TwoFloats(c.distance, 0.0f);
        const Reach reach(persona, from, target, c.width, random, 0.0);
        const float along = reach.firstLanding().x - target.x;
        alongSquares += double(along) * along;
        misses += (reach.firstLanding() - target).length() > c.width * 0.5f;
        ASSERT_LE((reach.landing() - target).length(), c.width * 0.5f);
        if (reach.corrections() > 0) continue;
        seconds += reach.end();
        ++landedFirst;
      }
      EXPECT_NEAR(std::sqrt(alongSquares / count), c.width / 4.133, c.width / 4.133 * 0.1);
      EXPECT_NEAR(double(misses) / count, 0.045, 0.025);
      EXPECT_NEAR(seconds / landedFirst, fitts, fitts * 0.05);
    }
  }
}
