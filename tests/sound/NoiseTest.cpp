#include "framework/sound/InterestingNoise.h"
#include "framework/sound/StuckBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace {

// Runs the noise in 4096-frame blocks (its per-block steps depend on it).
std::vector<float> run(InterestingNoise &noise, int frames) {
  std::vector<float> out(2 * static_cast<size_t>(frames), 0.0f);
  for (int done = 0; done < frames; done += 4096) noise.getAudio(out.data() + 2 * done, std::min(4096, frames - done));
  return out;
}

}  // namespace

// Past its fade-in, in blocks of uneven sizes, the bed is a quiet,
// low-leaning noise that does not jump where one block meets the next.
// Seeded: a swell can make any step several times the typical one, so the
// edges are judged on one known noise, not on the clock's.
TEST(InterestingNoise, QuietLowLeaningAndSeamlessAcrossBlocks) {
  Random random(7);
  InterestingNoise noise(random);
  const int fadeIn = 100000, frames = 200000;
  std::vector<float> out(2 * static_cast<size_t>(frames), 0.0f);
  std::vector<int> edges;
  for (int done = 0, block = 0; done < frames; ++block) {
    const int size = std::min(block % 3 == 0 ? 1000 : 4096, frames - done);
    noise.getAudio(out.data() + 2 * done, size);
    done += size;
    edges.push_back(done);
  }
  double power = 0.0, stepPower = 0.0, largestEdgeStep = 0.0;
  for (int i = fadeIn + 1; i < frames; ++i) {
    const double step = std::fabs(out[2 * i] - out[2 * (i - 1)]);
    power += out[2 * i] * out[2 * i];
    stepPower += step * step;
    ASSERT_EQ(out[2 * i], out[2 * i + 1]);
  }
  for (int edge : edges)
    if (edge > fadeIn && edge < frames)
      largestEdgeStep = std::max(largestEdgeStep, static_cast<double>(std::fabs(out[2 * edge] - out[2 * (edge - 1)])));
  const double rms = std::sqrt(power / (frames - fadeIn - 1));
  EXPECT_GT(rms, 0.01);
  EXPECT_LT(rms, 0.25);
  // White noise steps by sqrt(2) of its level; a low-passed bed far less.
  EXPECT_LT(std::sqrt(stepPower / (frames - fadeIn - 1)), 0.7 * rms);
  EXPECT_LT(largestEdgeStep, 4.0 * std::sqrt(stepPower / (frames - fadeIn - 1)));
}

// Long enough for the cutoff to wander and a swell to come: one seed, one noise.
TEST(InterestingNoise, TheSameSeedGivesTheSameNoiseAnotherSeedOther) {
  Random first(7), second(7), other(8);
  InterestingNoise a(first), b(second), c(other);
  const int frames = 44100 * 20;
  const std::vector<float> outA = run(a, frames);
  EXPECT_TRUE(outA == run(b, frames));
  EXPECT_FALSE(outA == run(c, frames));
}

TEST(InterestingNoise, FastTanhStaysWithinOneMillionthOfTanhfForEveryFloat) {
  const uint32_t infinityBits = 0x7f800000u;
  float worst = 0.0f;
  // Every 997th positive float of either sign, up to infinity: all magnitudes.
  for (uint32_t bits = 0; bits <= infinityBits; bits += 997) {
    for (uint32_t sign : {0u, 0x80000000u}) {
      const uint32_t pattern = bits | sign;
      float x;
      std::memcpy(&x, &pattern, sizeof x);
      worst = std::max(worst, std::fabs(InterestingNoise::fastTanh(x) - tanhf(x)));
    }
  }
  // Densely where tanh bends.
  for (float x = -12.0f; x < 12.0f; x += 1.0f / 4096.0f)
    worst = std::max(worst, std::fabs(InterestingNoise::fastTanh(x) - tanhf(x)));
  EXPECT_LT(worst, 1e-6f);

  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(1.0f, InterestingNoise::fastTanh(inf));
  EXPECT_EQ(-1.0f, InterestingNoise::fastTanh(-inf));
  EXPECT_EQ(1.0f, InterestingNoise::fastTanh(std::numeric_limits<float>::max()));
  EXPECT_TRUE(std::isnan(InterestingNoise::fastTanh(std::numeric_limits<float>::quiet_NaN())));
}

TEST(InterestingNoise, FadesInOnceAndStaysBelowHalfScale) {
  InterestingNoise noise;
  std::vector<float> out = run(noise, 4096);
  EXPECT_LT(std::fabs(out[0]), 1e-6f);
  EXPECT_LT(noise.getStartFade(), 0.05f);
  run(noise, 100000);
  EXPECT_GE(noise.getStartFade(), 1.0f);

  // Long enough for swells to come and go.
  float loudest = 0.0f;
  for (int i = 0; i < 40; ++i) {
    out = run(noise, 44100);
    for (size_t f = 0; f < out.size(); f += 2) {
      ASSERT_EQ(out[f], out[f + 1]);
      loudest = std::max(loudest, std::fabs(out[f]));
    }
  }
  EXPECT_GT(loudest, 0.01f);
  EXPECT_LT(loudest, 0.5f);
}

TEST(InterestingNoise, DuckingTakes5000FramesEachWay) {
  InterestingNoise noise;
  noise.setAttenuate(true);
  run(noise, 2500);
  EXPECT_NEAR(0.75f, noise.getAttenuation(), 0.001f);
  run(noise, 2500);
  EXPECT_NEAR(0.5f, noise.getAttenuation(), 0.001f);
  run(noise, 5000);
  EXPECT_NEAR(0.5f, noise.getAttenuation(), 0.001f);
  noise.setAttenuate(false);
  run(noise, 5000);
  EXPECT_NEAR(1.0f, noise.getAttenuation(), 0.001f);
}

TEST(InterestingNoise, LevelZeroAddsExactlyNothing) {
  InterestingNoise noise;
  run(noise, 200000);
  noise.setLevel(0.0f);
  std::vector<float> out(2 * 4096, 0.25f);
  for (int i = 0; i < 50; ++i) {
    noise.getAudio(out.data(), 4096);
    for (float v : out) ASSERT_EQ(0.25f, v);
  }
}

TEST(StuckBuffer, PassesTheLeftChannelToBothSidesUntilWarmedUp) {
  std::unique_ptr<StuckBuffer> stuck(new StuckBuffer());
  std::vector<float> block(2 * 4096);
  for (int b = 0; b < 24; ++b) {
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<float>((i * 37 + static_cast<size_t>(b)) % 101);
    const std::vector<float> in = block;
    stuck->getAudio(block.data(), 4096);
    for (size_t f = 0; f < block.size(); f += 2) {
      ASSERT_EQ(in[f], block[f]);
      ASSERT_EQ(in[f], block[f + 1]);
    }
    EXPECT_FALSE(stuck->isStuck());
  }
}

// Once warmed up it sticks at random moments: silence in, then, gives what it
// recorded, until it lets go after 4 to 19 blocks.
TEST(StuckBuffer, SticksToALoopOfWhatItHeardAndLetsGo) {
  std::unique_ptr<StuckBuffer> stuck(new StuckBuffer());
  std::vector<float> block(2 * 4096);
  int blocks = 0, frame = 0;
  for (; !stuck->isStuck() && blocks < 20000; ++blocks) {
    for (size_t f = 0; f < block.size(); f += 2) block[f] = block[f + 1] = std::sin(0.01f * ++frame);
    stuck->getAudio(block.data(), 4096);
  }
  ASSERT_TRUE(stuck->isStuck());
  EXPECT_GE(blocks * 4096, 100000);
  int stuckBlocks = 1;
  float loudest = 0.0f;
  for (; stuck->isStuck(); ++stuckBlocks) {
    std::fill(block.begin(), block.end(), 0.0f);
    stuck->getAudio(block.data(), 4096);
    for (float v : block) loudest = std::max(loudest, std::fabs(v));
  }
  EXPECT_GT(loudest, 0.1f);
  EXPECT_GE(stuckBlocks, 4);
  EXPECT_LE(stuckBlocks, 19);
}
