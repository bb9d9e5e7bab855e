#include "personas/CircleMotion.h"
#include "personas/Persona.h"

#include <gtest/gtest.h>

#include <cmath>

// Ten turns of each persona's circles, followed at a millisecond: every turn
// takes about its circle time and the radius stays within its range,
// however it wobbles.
TEST(CircleMotion, KeepsThePersonasPaceAndRadius) {
  for (const char *name : {"brisk", "calm", "slow", "trackpad", "shaky"}) {
    SCOPED_TRACE(name);
    const Persona &persona = *Persona::find(name);
    const TwoFloats centre(640.0f, 360.0f);
    CircleMotion circle(persona, centre, 11);
    TwoFloats last = circle.start();
    double angle = 0.0, turnStart = 0.0;
    int turns = 0;
    for (double t = 0.001; turns < 10; t += 0.001) {
      const TwoFloats p = circle.advance(0.001);
      const float radius = (p - centre).length();
      EXPECT_GE(radius, persona.circleRadiusMin * 0.999f);
      EXPECT_LE(radius, persona.circleRadiusMax * 1.001f);
      const TwoFloats a = last - centre, b = p - centre;
      angle += std::atan2(a.x * b.y - a.y * b.x, a.x * b.x + a.y * b.y);
      last = p;
      if (std::fabs(angle) < 2.0 * 3.14159265 * (turns + 1)) continue;
      EXPECT_NEAR(t - turnStart, persona.circleSeconds, persona.circleSeconds * 0.1) << "turn " << turns;
      turnStart = t;
      ++turns;
    }
  }
}
