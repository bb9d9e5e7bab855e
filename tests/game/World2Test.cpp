#include "game/World2.h"

#include "support/WorldDriver.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(World2, StillOrJumpingMiceNeverGrowItCirclesFinishIt) {
  World2 still;
  still.mouseMove(TwoFloats(900, 100));
  for (int frame = 0; frame < 200; ++frame) {
    if (frame == 100) still.mouseMove(TwoFloats(100, 600));
    still.subclassTick();
  }
  EXPECT_EQ(still.scale, 0.05f);

  World2 circling;
  int frames = 0;
  while (!circling.worldDone() && frames < 2000) {
    const float angle = frames / 24.0f * 2.0f * 3.1415927f;
    circling.mouseMove(TwoFloats(640 + 150 * std::cos(angle), 360 + 150 * std::sin(angle)));
    WorldDriver::frame(circling);
    ++frames;
  }
  EXPECT_TRUE(circling.worldDone());
  // The history needs about a turn before the first circle; then 0.0025 a frame against a shrink of 0.001.
  EXPECT_LT(frames, 24 + 420);
}

}  // namespace
