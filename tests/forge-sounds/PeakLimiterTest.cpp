#include <gtest/gtest.h>

#include <cmath>

#include "PeakLimiter.h"
#include "Take.h"

namespace {

// A steady level of 0.25 with one spike of 1.0 in it.
Take spiked(long frames, long spikeAt, bool looping) {
  Take take(frames, looping);
  for (long i = 0; i < frames; ++i) take.add(i, 0.25f, 0.25f);
  take.channel(0)[static_cast<size_t>(spikeAt)] = 1.0f;
  return take;
}

}  // namespace

TEST(PeakLimiter, HoldsThePeakAtTheCeilingAndLeavesDistantFramesAlone) {
  Take take = spiked(4410, 2000, false);
  PeakLimiter::apply(take, 6.0f, 0.001f);
  EXPECT_LE(take.peak(), std::pow(10.0f, -6.0f / 20.0f) + 1e-6f);
  EXPECT_FLOAT_EQ(0.25f, take.channel(0)[0]);
  EXPECT_FLOAT_EQ(0.25f, take.channel(1)[4409]);
  // The spike's channel partner is lowered with it: the stereo picture stays.
  EXPECT_LT(take.channel(1)[2000], 0.25f * 0.51f);
}

TEST(PeakLimiter, GainGlidesInsteadOfJumping) {
  Take take = spiked(4410, 2000, false);
  PeakLimiter::apply(take, 6.0f, 0.001f);
  // The gain needed at the spike is about a half; spread over 2 x 44 + 1
  // frames it may change by no more than about a half / 89 per frame.
  float largest = 0.0f;
  for (size_t i = 1; i < 4410; ++i)
    largest = std::max(largest, std::fabs(take.channel(1)[i] - take.channel(1)[i - 1]) / 0.25f);
  EXPECT_GT(largest, 0.0f);
  EXPECT_LT(largest, 0.5f / 89.0f + 1e-4f);
}

TEST(PeakLimiter, LoopsLowerTheFramesAcrossTheirSeam) {
  Take loop = spiked(4410, 0, true);
  PeakLimiter::apply(loop, 6.0f, 0.001f);
  EXPECT_LT(loop.channel(1)[4409], 0.25f);

  Take oneShot = spiked(4410, 0, false);
  PeakLimiter::apply(oneShot, 6.0f, 0.001f);
  EXPECT_FLOAT_EQ(0.25f, oneShot.channel(1)[4409]);
}
