#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Biquad.h"
#include "Reverb.h"
#include "Take.h"

namespace {

float amplitudeThrough(Biquad filter, float frequency) {
  float largest = 0.0f;
  for (int n = 0; n < 44100; ++n) {
    const float out = filter.process(std::sin(6.2831853f * frequency * static_cast<float>(n) / 44100.0f));
    if (n > 22050) largest = std::max(largest, std::fabs(out));
  }
  return largest;
}

}  // namespace

TEST(Biquad, ShapesTheSpectrumAsDesigned) {
  EXPECT_NEAR(1.0f, amplitudeThrough(Biquad::lowPass(1000.0f, 0.7071f), 50.0f), 0.01f);
  EXPECT_LT(amplitudeThrough(Biquad::lowPass(1000.0f, 0.7071f), 10000.0f), 0.02f);
  EXPECT_NEAR(1.0f, amplitudeThrough(Biquad::highPass(1000.0f, 0.7071f), 15000.0f), 0.02f);
  EXPECT_LT(amplitudeThrough(Biquad::highPass(1000.0f, 0.7071f), 50.0f), 0.01f);
  EXPECT_NEAR(1.0f, amplitudeThrough(Biquad::bandPass(2000.0f, 4.0f), 2000.0f), 0.01f);
  EXPECT_LT(amplitudeThrough(Biquad::bandPass(2000.0f, 4.0f), 200.0f), 0.05f);
  EXPECT_NEAR(std::pow(10.0f, -6.0f / 20.0f), amplitudeThrough(Biquad::highShelf(2000.0f, -6.0f), 18000.0f), 0.02f);
  EXPECT_NEAR(1.0f, amplitudeThrough(Biquad::highShelf(2000.0f, -6.0f), 50.0f), 0.01f);
}

// A filtered loop must be what an endless repetition of it would give, or its
// seam would be heard.
TEST(Biquad, FiltersALoopAsIfItHadAlwaysBeenLooping) {
  const long frames = 4410;
  Take take(frames, true);
  for (long i = 0; i < frames; ++i) take.add(i, (i % 441) < 200 ? 0.5f : -0.5f, 0.0f);
  const std::vector<float> input = take.channel(0);
  const Biquad design = Biquad::lowPass(300.0f, 2.0f);
  design.applyTo(take);

  Biquad endless = design;
  std::vector<float> lastRound(static_cast<size_t>(frames));
  for (int round = 0; round < 5; ++round)
    for (size_t i = 0; i < lastRound.size(); ++i) lastRound[i] = endless.process(input[i]);
  for (size_t i = 0; i < lastRound.size(); ++i) ASSERT_NEAR(lastRound[i], take.channel(0)[i], 1e-4f) << i;
}

TEST(Reverb, ALoopsTailRingsOnAtItsBeginning) {
  Take loop(44100, true);
  loop.add(44000, 1.0f, 1.0f);
  Reverb(0.5f, 0.8f, 0.3f).applyTo(loop, 0.5f, 0.0f);
  float early = 0.0f;
  for (size_t i = 0; i < 4410; ++i) early = std::max(early, std::fabs(loop.channel(0)[i]));
  EXPECT_GT(early, 1e-3f);
  // Left and right rooms differ.
  float difference = 0.0f;
  for (size_t i = 0; i < 4410; ++i) difference += std::fabs(loop.channel(0)[i] - loop.channel(1)[i]);
  EXPECT_GT(difference, 1e-2f);
}

TEST(Reverb, KeepsTheDrySignalAndDelaysTheRoom) {
  Take take(44100, false);
  take.add(1000, 1.0f, 1.0f);
  Reverb(0.5f, 0.8f, 0.3f).applyTo(take, 0.5f, 0.01f);
  EXPECT_FLOAT_EQ(1.0f, take.channel(0)[1000]);
  for (size_t i = 1001; i < 1441; ++i) ASSERT_EQ(0.0f, take.channel(0)[i]) << i;
  float tail = 0.0f;
  for (size_t i = 1441; i < 44100; ++i) tail = std::max(tail, std::fabs(take.channel(0)[i]));
  EXPECT_GT(tail, 1e-3f);
}
