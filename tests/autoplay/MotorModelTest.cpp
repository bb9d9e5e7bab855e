#include "personas/MotorModel.h"
#include "personas/Persona.h"
#include "personas/ReactionTime.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Steps the hand through `seconds` at a millisecond; the motions it reports,
// and the widest swing about `about` among them.
struct Reports {
  int count = 0;
  float widest = 0.0f;
};

Reports run(MotorModel &hand, double &t, double seconds, const TwoFloats &about = TwoFloats()) {
  Reports reports;
  for (const double end = t + seconds; t < end; t += 0.001) {
    TwoFloats pointer;
    if (!hand.pointerAt(t, pointer)) continue;
    ++reports.count;
    reports.widest = std::max(reports.widest, std::abs(pointer.x - about.x));
  }
  return reports;
}

}  // namespace

// A hand that has come to rest reports nothing, not even its tremor, after
// the one motion that puts the pointer where it stopped.
TEST(MotorModel, AHandAtRestSendsNoMotion) {
  for (const char *name : {"brisk", "shaky", "trackpad"}) {
    SCOPED_TRACE(name);
    MotorModel hand(*Persona::find(name), TwoFloats(1280, 720), TwoFloats(640, 360), 5);
    double t = 0.0;
    EXPECT_EQ(0, run(hand, t, 2.0).count);
    hand.reachTo(TwoFloats(300, 200), 40.0f);
    EXPECT_GT(run(hand, t, 3.0).count, 50);
    ASSERT_TRUE(hand.resting());
    EXPECT_EQ(0, run(hand, t, 2.0).count);
  }
}

// A shake kept up beyond the time an arm lasts slows and narrows; rest restores it.
TEST(MotorModel, AShakeTiresAndRestRestoresIt) {
  const Persona &persona = *Persona::find("calm");
  MotorModel hand(persona, TwoFloats(1280, 720), TwoFloats(640, 360), 9);
  double t = 0.0;
  hand.shakeAround(TwoFloats(640, 360));
  const Reports fresh = run(hand, t, 4.0, TwoFloats(640, 360));
  EXPECT_NEAR(persona.shakeAmplitude, fresh.widest, persona.shakeAmplitude * 0.05f);
  run(hand, t, 20.0);
  const Reports tired = run(hand, t, 2.0, TwoFloats(640, 360));
  EXPECT_LT(tired.widest, persona.shakeAmplitude * 0.7f);
  EXPECT_LT(hand.shakeVigour(), 0.7);
  hand.hold();
  run(hand, t, 40.0);
  EXPECT_NEAR(1.0, hand.shakeVigour(), 1e-6);
}

// Reaction times spread about the persona's mean with a tail, never below the floor.
TEST(MotorModel, ReactionTimesSpreadAboutThePersonasMean) {
  for (double mean : {0.25, 0.5}) {
    ReactionTime reaction(mean, 11);
    double sum = 0.0, lowest = 1.0, highest = 0.0;
    const int count = 20000;
    for (int i = 0; i < count; ++i) {
      const double r = reaction.next();
      sum += r;
      lowest = std::min(lowest, r);
      highest = std::max(highest, r);
    }
    EXPECT_NEAR(mean, sum / count, 0.01);
    EXPECT_GE(lowest, ReactionTime::floorSeconds);
    // The exponential tail reaches several tau beyond the mean.
    EXPECT_GT(highest, mean + 4.0 * ReactionTime::tau);
  }
}
