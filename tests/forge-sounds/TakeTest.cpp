#include <gtest/gtest.h>

#include <cmath>

#include "Take.h"

TEST(Take, LoopingTakeWrapsWritesRoundItsSeam) {
  Take take(100, true);
  take.add(105, 1.0f, 2.0f);
  take.add(-1, 3.0f, 4.0f);
  take.add(250, 5.0f, 6.0f);
  EXPECT_EQ(1.0f, take.channel(0)[5]);
  EXPECT_EQ(2.0f, take.channel(1)[5]);
  EXPECT_EQ(3.0f, take.channel(0)[99]);
  EXPECT_EQ(4.0f, take.channel(1)[99]);
  EXPECT_EQ(5.0f, take.channel(0)[50]);
  EXPECT_FLOAT_EQ(6.0f, take.peak());
}

TEST(Take, OneShotTakeDropsWritesOutsideIt) {
  Take take(100, false);
  take.add(100, 1.0f, 1.0f);
  take.add(-1, 1.0f, 1.0f);
  EXPECT_EQ(0.0f, take.peak());
  take.add(99, 0.5f, -0.75f);
  EXPECT_EQ(0.75f, take.peak());
}

TEST(Take, PanningKeepsPowerFromLeftToRight) {
  Take take(3, false);
  take.addPanned(0, 1.0f, 0.0f);
  take.addPanned(1, 1.0f, 0.5f);
  take.addPanned(2, 1.0f, 1.0f);
  EXPECT_FLOAT_EQ(1.0f, take.channel(0)[0]);
  EXPECT_NEAR(0.0f, take.channel(1)[0], 1e-6f);
  EXPECT_NEAR(std::sqrt(0.5f), take.channel(0)[1], 1e-6f);
  EXPECT_NEAR(std::sqrt(0.5f), take.channel(1)[1], 1e-6f);
  EXPECT_NEAR(0.0f, take.channel(0)[2], 1e-6f);
  EXPECT_FLOAT_EQ(1.0f, take.channel(1)[2]);
}

TEST(Take, OffsetRemovalAndNormalisingShapeTheLevel) {
  Take take(4, true);
  for (long i = 0; i < 4; ++i) take.add(i, 1.0f + static_cast<float>(i), -2.0f);
  take.removeOffset();
  EXPECT_FLOAT_EQ(-1.5f, take.channel(0)[0]);
  EXPECT_FLOAT_EQ(1.5f, take.channel(0)[3]);
  EXPECT_FLOAT_EQ(0.0f, take.channel(1)[2]);
  take.normalise(0.6f);
  EXPECT_FLOAT_EQ(0.6f, take.peak());
  EXPECT_FLOAT_EQ(-0.6f, take.channel(0)[0]);
  EXPECT_FLOAT_EQ(0.2f, take.channel(0)[2]);
}
