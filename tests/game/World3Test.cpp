#include "game/World3.h"

#include <gtest/gtest.h>

TEST(World3, TheRingsFlashRedOnEverySecondBar) {
  World3 world;
  for (int bar = 1; bar <= 4; ++bar) {
    world.barStart();
    EXPECT_EQ(world.flashPhase > 0.0f, bar % 2 == 0) << "bar " << bar;
    int frames = 0, redFrames = 0;
    for (; world.flashPhase > 0.0f && frames < 100; ++frames) {
      world.subclassTick();
      redFrames += World::colourDistance(world.ringColours[1], ThreeFloats(1, 0, 0)) < 0.05f;
    }
    EXPECT_EQ(frames, bar % 2 == 0 ? 50 : 0) << "bar " << bar;
    EXPECT_EQ(redFrames > 0, bar % 2 == 0) << "bar " << bar;
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(World::sameColour(world.ringColours[k], world.restingRingColours[k]));
  }
}

TEST(World3, FastMovesGrowItDuringAFlashWildOnesShrinkItBetween) {
  struct Case {
    bool flashing;
    float scale, step, change;
  };
  const Case cases[] = {{true, 0.3f, 64, 0},   {true, 0.3f, 65, 0.04f},    {true, 0.65f, 300, 0.04f},
                        {false, 0.3f, 256, 0}, {false, 0.3f, 257, -0.01f}, {false, 0.66f, 500, 0}};
  for (const Case &c : cases) {
    World3 world;
    world.scale = c.scale;
    world.flashPhase = c.flashing ? 0.5f : 0.0f;
    world.lastMousePosition = TwoFloats(100, 100);
    world.mouseMove(TwoFloats(100 + c.step, 100));
    EXPECT_NEAR(world.scale - c.scale, c.change, 1e-6f) << c.flashing << " " << c.step;
    EXPECT_EQ(world.worldDone(), c.flashing && world.scale >= 0.66f) << c.flashing << " " << c.step;
  }
}
