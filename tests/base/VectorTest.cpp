#include "base/ThreeFloats.h"
#include "base/TwoFloats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(TwoFloats, Normal) {
  const TwoFloats zero = TwoFloats().normal();
  EXPECT_EQ(0.0f, zero.x);
  EXPECT_EQ(0.0f, zero.y);
  const TwoFloats n = TwoFloats(3, 4).normal();
  EXPECT_FLOAT_EQ(0.6f, n.x);
  EXPECT_FLOAT_EQ(0.8f, n.y);
  const TwoFloats down = TwoFloats(0, -0.5f).normal();
  EXPECT_EQ(0.0f, down.x);
  EXPECT_EQ(-1.0f, down.y);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const TwoFloats fromNan = TwoFloats(nan, 1).normal();
  EXPECT_EQ(0.0f, fromNan.x);
  EXPECT_EQ(0.0f, fromNan.y);
}

TEST(TwoFloats, ArithmeticWithScalarsOnEitherSide) {
  const TwoFloats a(2, -4);
  const TwoFloats sum = a + TwoFloats(1, 1), difference = a - TwoFloats(1, 1);
  EXPECT_EQ(3.0f, sum.x);
  EXPECT_EQ(-3.0f, sum.y);
  EXPECT_EQ(1.0f, difference.x);
  EXPECT_EQ(-5.0f, difference.y);
  EXPECT_EQ(-2.0f, (a / -1.0f).x);
  EXPECT_EQ(-8.0f, (a * 2.0f).y);
  EXPECT_EQ(-2.0f, (2.0f * a).y * 0.25f);
  // The scalar goes first: s - v and s / v are not v - s and v / s.
  const TwoFloats fromTen = 10.0f - a;
  EXPECT_EQ(8.0f, fromTen.x);
  EXPECT_EQ(14.0f, fromTen.y);
  const TwoFloats ratio = 8.0f / a;
  EXPECT_EQ(4.0f, ratio.x);
  EXPECT_EQ(-2.0f, ratio.y);
  EXPECT_EQ(12.0f, (10.0f + a).x);
}

TEST(TwoFloats, ScalarOverZeroComponentIsInfinite) {
  const TwoFloats result = 1.0f / TwoFloats(0.0f, 2.0f);
  EXPECT_TRUE(std::isinf(result.x));
  EXPECT_GT(result.x, 0.0f);
  EXPECT_EQ(0.5f, result.y);
}

TEST(ThreeFloats, ComponentWise) {
  const ThreeFloats colour(0.5f, 0.25f, 1.0f);
  const ThreeFloats darker = 0.5f * colour;
  EXPECT_EQ(0.25f, darker.x);
  EXPECT_EQ(0.125f, darker.y);
  EXPECT_EQ(0.5f, darker.z);
  const ThreeFloats sum = colour + ThreeFloats(0.5f, 0.5f, 0.5f) - ThreeFloats(1, 0, 0);
  EXPECT_EQ(0.0f, sum.x);
  EXPECT_EQ(0.75f, sum.y);
  EXPECT_EQ(1.5f, sum.z);
  EXPECT_EQ(2.0f, (colour * 2.0f).z);
  EXPECT_EQ(0.0f, ThreeFloats().y);
}
