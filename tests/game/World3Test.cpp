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

// A hand's shake arrives as one merged move a frame: short moves that add
// up to a stroke of more than 64 units within six frames count as one jerk.
TEST(World3, StrokesMadeOfShortMovesCountWhenQuick) {
  struct Case {
    float step;
    int framesBetween, moves;
    float change;
  };
  const Case cases[] = {{25, 1, 3, 0.04f}, {25, 1, 6, 0.08f}, {25, 4, 3, 0}, {12, 1, 6, 0.04f}, {10, 1, 12, 0}, {70, 3, 3, 0.12f}};
  for (const Case &c : cases) {
    World3 world;
    world.scale = 0.3f;
    world.flashPhase = 0.02f;
    world.lastMousePosition = TwoFloats(100, 100);
    for (int i = 1; i <= c.moves; ++i) {
      world.mouseMove(TwoFloats(100 + (i % 2 ? c.step : 0), 100));
      for (int frame = 0; frame < c.framesBetween; ++frame) world.subclassTick();
    }
    EXPECT_NEAR(world.scale - 0.3f, c.change, 1e-5f) << c.step << " every " << c.framesBetween << " frames";
  }
  // Whenever in the flash a quick stroke begins.
  for (int start = 0; start < 6; ++start) {
    World3 world;
    world.scale = 0.3f;
    world.flashPhase = 0.02f;
    world.lastMousePosition = TwoFloats(100, 100);
    for (int frame = 0; frame < start; ++frame) world.subclassTick();
    for (int i = 1; i <= 3; ++i) {
      world.mouseMove(TwoFloats(100 + 22 * i, 100));
      world.subclassTick();
    }
    EXPECT_NEAR(world.scale - 0.3f, 0.04f, 1e-5f) << "from frame " << start;
  }
}

TEST(World3, FastMovesGrowItDuringAFlashWildOnesShrinkItBetween) {
  struct Case {
    bool flashing;
    float scale, step, change;
  };
  const Case cases[] = {{true, 0.3f, 64, 0},   {true, 0.3f, 65, 0.04f},    {true, 0.65f, 300, 0.04f},
                        {false, 0.3f, 256, 0}, {false, 0.3f, 257, -0.01f}, {false, 0.66f, 500, 0},
                        // Never below 0, where the rings would be drawn large again.
                        {false, 0.004f, 300, -0.004f}, {false, 0.0f, 300, 0}};
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
