#include "game/World3.h"

#include "support/WorldDriver.h"

#include <gtest/gtest.h>

namespace {

TEST(World3, TheRingsFlashRedOnEverySecondBar) {
  World3 world;
  const ThreeFloats red(1, 0, 0);
  for (int bar = 1; bar <= 4; ++bar) {
    world.barStart();
    EXPECT_EQ(world.flashPhase > 0.0f, bar % 2 == 0) << "bar " << bar;
    bool turnedRed = false;
    int frames = 0;
    while (world.flashPhase > 0.0f && frames < 100) {
      world.subclassTick();
      turnedRed = turnedRed || World::colourDistance(world.ringColours[1], red) < 0.01f;
      ++frames;
    }
    if (bar % 2 == 0) {
      EXPECT_TRUE(turnedRed) << "bar " << bar;
      EXPECT_NEAR(frames, 49, 1) << "bar " << bar;
    }
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(World::sameColour(world.ringColours[k], world.restingRingColours[k]));
  }
}

TEST(World3, FastMovesGrowItDuringAFlashWildOnesShrinkItBetween) {
  struct Case {
    bool flashing;
    float step;
    float change;
  };
  const Case cases[] = {
      {true, 64, 0}, {true, 65, 0.04f}, {true, 300, 0.04f}, {false, 64, 0}, {false, 256, 0}, {false, 257, -0.01f},
  };
  for (const Case &c : cases) {
    World3 world;
    world.scale = 0.3f;
    world.flashPhase = c.flashing ? 0.5f : 0.0f;
    world.mouseMove(TwoFloats(100, 100));
    const float before = world.scale;
    world.mouseMove(TwoFloats(100 + c.step, 100));
    EXPECT_NEAR(world.scale - before, c.change, 1e-6f) << c.flashing << " " << c.step;
  }
}

TEST(World3, ADoneWorldStaysDone) {
  World3 world;
  world.scale = 0.65f;
  world.flashPhase = 0.5f;
  world.mouseMove(TwoFloats(200, 0));
  ASSERT_TRUE(world.worldDone());
  world.flashPhase = 0.0f;
  for (int i = 0; i < 10; ++i) world.mouseMove(TwoFloats(i % 2 ? 1000 : 0, 0));
  world.barStart();
  world.barStart();
  WorldDriver::frames(world, 100);
  EXPECT_TRUE(world.worldDone());
}

}  // namespace
