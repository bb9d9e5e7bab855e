#include <gtest/gtest.h>

#include <cmath>

#include "Biquad.h"
#include "ForgeRandom.h"
#include "Scale.h"
#include "Take.h"
#include "Voices.h"

namespace {

int zeroCrossings(const std::vector<float> &samples, size_t from, size_t to) {
  int count = 0;
  for (size_t i = from + 1; i < to; ++i)
    if ((samples[i - 1] < 0.0f) != (samples[i] < 0.0f)) ++count;
  return count;
}

}  // namespace

TEST(Scale, DegreesWalkDMinorPentatonic) {
  EXPECT_NEAR(293.66f, Scale::degree(0), 0.01f);   // D4
  EXPECT_NEAR(349.23f, Scale::degree(1), 0.01f);   // F4
  EXPECT_NEAR(392.00f, Scale::degree(2), 0.01f);   // G4
  EXPECT_NEAR(440.00f, Scale::degree(3), 0.01f);   // A4
  EXPECT_NEAR(523.25f, Scale::degree(4), 0.01f);   // C5
  EXPECT_NEAR(587.33f, Scale::degree(5), 0.01f);   // D5
  EXPECT_NEAR(261.63f, Scale::degree(-1), 0.01f);  // C4
  EXPECT_NEAR(146.83f, Scale::degree(-5), 0.01f);  // D3
  EXPECT_NEAR(130.81f, Scale::degree(-6), 0.01f);  // C3
}

TEST(Scale, PeriodicFrequenciesCompleteWholeCyclesInTheLoop) {
  const float frequency = Scale::periodic(440.03f, 16.0f);
  EXPECT_NEAR(440.0f, frequency, 1.0f / 32.0f);
  EXPECT_FLOAT_EQ(std::round(frequency * 16.0f), frequency * 16.0f);
}

TEST(Voices, StrikeStartsSilentlyRingsAtItsPitchAndDiesAway) {
  Take take(44100, false);
  strikeModes(take, {0.0, 1000.0f, 1.0f, 0.5f}, {{1.0f, 1.0f, 0.5f}}, 0.002f);
  const std::vector<float> &left = take.channel(0);
  EXPECT_EQ(0.0f, left[0]);
  EXPECT_LT(std::fabs(left[10]), 0.05f);
  // 1000 Hz crosses zero 200 times in a tenth of a second.
  EXPECT_NEAR(200, zeroCrossings(left, 441, 441 + 4410), 2);
  EXPECT_GT(take.peak(), 0.6f);
  float late = 0.0f;
  for (size_t i = 26460; i < 44100; ++i) late = std::max(late, std::fabs(left[i]));
  EXPECT_LT(late, 0.002f);
}

TEST(Voices, StrikeBendSettlesOnThePitch) {
  Take take(44100, false);
  strikeModes(take, {0.0, 500.0f, 1.0f, 0.5f}, {{1.0f, 1.0f, 2.0f}}, 0.001f, 0.5f, 0.02f);
  EXPECT_GT(zeroCrossings(take.channel(0), 0, 441), 6);  // near 750 Hz at first
  EXPECT_NEAR(100, zeroCrossings(take.channel(0), 22050, 22050 + 4410), 2);
}

TEST(Voices, HeldToneRisesAndFallsWithinItsLength) {
  Take take(44100, false);
  heldTone(take, 0.1, 0.5f, 220.0f, 4, 1.0f, 0.1f, 0.1f, 1.0f, 0.5f);
  const std::vector<float> &right = take.channel(1);
  for (size_t i = 0; i < 4410; ++i) ASSERT_EQ(0.0f, right[i]);
  EXPECT_LT(std::fabs(right[4411]), 0.01f);
  EXPECT_GT(take.peak(), 0.5f);
  for (size_t i = 4410 + 22050; i < 44100; ++i) ASSERT_EQ(0.0f, right[i]);
  EXPECT_LT(std::fabs(right[4410 + 22049]), 0.01f);
}

TEST(Voices, NoiseBurstIsSeededAndDecays) {
  Take first(4410, false), second(4410, false);
  ForgeRandom a(7), b(7);
  noiseBurst(first, a, 0.0, 0.02f, Biquad::highPass(1000.0f, 0.7f), 1.0f, 0.5f);
  noiseBurst(second, b, 0.0, 0.02f, Biquad::highPass(1000.0f, 0.7f), 1.0f, 0.5f);
  EXPECT_EQ(first.channel(0), second.channel(0));
  EXPECT_GT(first.peak(), 0.1f);
  float late = 0.0f;
  for (size_t i = 800; i < 4410; ++i) late = std::max(late, std::fabs(first.channel(0)[i]));
  EXPECT_LT(late, first.peak() * 0.01f);
}
