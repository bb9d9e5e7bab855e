#include "game/Random.h"
#include "sound/InterestingNoise.h"
#include "sound/StuckBuffer.h"

#include <gtest/gtest.h>

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

// The noise bed as first written: one draw per use from its own generator,
// state in members. Only the tanh is the fast one, so that the output must
// match bit for bit.
struct ReferenceNoise {
  explicit ReferenceNoise(int32_t counter) : random(counter) { targetCutoff = 220.0f + unit() * 1680.0f; }
  float unit() { return random.nextUnit(); }

  void getAudio(float *output, int numSamples) {
    for (int i = 0; i < numSamples; ++i) {
      const float s = unit() * 2.0f - 1.0f;
      float swell = 0.0f;
      if (swellLevel > 0.0f) {
        swellBuf0 = swellBuf0 + swellF * (s - swellBuf0 + swellFeedback * (swellBuf0 - swellBuf1));
        swellBuf1 = swellBuf1 + swellF * (swellBuf0 - swellBuf1);
        swell = InterestingNoise::fastTanh(swellBuf1) * swellLevel;
        swelled = true;
      }
      if (attenuate && attenuation > 0.5f)
        attenuation -= 0.0001f;
      else if (!attenuate && attenuation < 1.0f)
        attenuation += 0.0001f;
      lowState = s * a0 - b1 * lowState;
      const float value = (lowState + swell) * (level * 0.25f * attenuation * startFade);
      output[2 * i] += value;
      output[2 * i + 1] += value;
      if (startFade < 1.0f) startFade += 0.00001f;
      if (swellRate > 0.0f) {
        swellLevel += swellRate;
        if (swellLevel > 1.0f) swellRate = -swellRate;
      } else if (swellRate < 0.0f) {
        swellLevel += swellRate;
        if (swellLevel < 0.0f) swellLevel = swellRate = 0.0f;
      }
    }
    if (std::fabs(targetCutoff - cutoff) < 1.0f) targetCutoff = 220.0f + unit() * 880.0f;
    cutoff = cutoff + (targetCutoff - cutoff) * 0.2f;
    const float e = expf(cutoff * -6.2831855f / 44100.0f);
    b1 = -e;
    a0 = 1.0f - e;
    if (swellRate == 0.0f && unit() > 0.95f) {
      swellRate = unit() * 0.000003f + 0.000002f;
      swellF = (unit() * 7000.0f + 3360.0f) / 22050.0f;
      swellFeedback = 0.99f / (1.0f - swellF) + 0.99f;
    }
  }

  Random random;
  float startFade = 0.0f, attenuation = 1.0f, level = 0.8f, cutoff = 880.0f;
  float a0 = 1.0f - expf(-0.12537876f), b1 = -expf(-0.12537876f), lowState = 0.0f, targetCutoff;
  float swellF = 0.0f, swellFeedback = 0.0f, swellBuf0 = 0.0f, swellBuf1 = 0.0f, swellLevel = 0.0f, swellRate = 0.0f;
  bool attenuate = false, swelled = false;
};

}  // namespace

// Whole blocks draw their random values at once; the sound is the same as
// drawing them one at a time, swells, ducking and odd block sizes included.
TEST(InterestingNoise, BlockDrawsGiveTheSameNoiseAsSingleDraws) {
  ReferenceNoise reference(Random::getGlobal().getCounter());
  InterestingNoise noise;
  noise.setLevel(reference.level);
  std::vector<float> out(2 * 4096), expected(2 * 4096);
  // A swell starts with a chance of 1 in 20 per block: 400 blocks all but
  // guarantee a few.
  for (int block = 0; block < 400; ++block) {
    const int frames = block % 3 == 0 ? 1000 : 4096;
    reference.attenuate = block % 50 < 20;
    noise.setAttenuate(reference.attenuate);
    std::fill(out.begin(), out.end(), 0.125f);
    std::fill(expected.begin(), expected.end(), 0.125f);
    noise.getAudio(out.data(), frames);
    reference.getAudio(expected.data(), frames);
    ASSERT_EQ(expected, out) << "block " << block;
  }
  EXPECT_TRUE(reference.swelled);
  EXPECT_EQ(reference.random.getCounter(), Random::getGlobal().getCounter());
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
