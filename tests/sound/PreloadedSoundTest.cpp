#include "framework/sound/PreloadedSound.h"
#include "support/MemorySoundLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

// Each sound comes back within half a step of a 16-bit grid scaled to its own
// peak, whose loudest sample is the grid's top: loud, overshooting (a fold-down
// past full scale), quiet, of a length that ends inside a decoding chunk, and
// from a decoder that delivers less than it promised (the rest silent).
TEST(PreloadedSound, HoldsEachSoundWithinHalfASixteenBitStepOfItsOwnPeak) {
  const struct {
    const char *name;
    float amplitude;
    long long frames, reportedFrames;
  } cases[] = {
      {"loud", 0.9f, 5000, -1},        {"overshooting", 1.8f, 5000, -1},      {"quiet", 0.001f, 5000, -1},
      {"odd length", 0.5f, 10001, -1}, {"delivering less", 0.5f, 3000, 9000},
  };
  for (const auto &c : cases) {
    std::vector<float> stereo(2 * static_cast<size_t>(c.frames));
    for (size_t i = 0; i < stereo.size(); ++i)
      stereo[i] = c.amplitude * std::sin(0.001f * static_cast<float>(i * i % 7919));
    const float peak = std::fabs(
        *std::max_element(stereo.begin(), stereo.end(), [](float a, float b) { return std::fabs(a) < std::fabs(b); }));
    MemorySoundLoader loader(L"Sound", stereo, c.reportedFrames);
    const PreloadedSound sound(loader);
    ASSERT_EQ(loader.getFileLength(), sound.getFrameCount()) << c.name;
    const float step = sound.getSampleScale();
    EXPECT_FLOAT_EQ(peak / 32767, step) << c.name;
    int loudest = 0;
    for (long long i = 0; i < 2 * sound.getFrameCount(); ++i) {
      const int sample = sound.getSamples()[i];
      loudest = std::max(loudest, std::abs(sample));
      const float expected = i < static_cast<long long>(stereo.size()) ? stereo[static_cast<size_t>(i)] : 0.0f;
      ASSERT_NEAR(expected, static_cast<float>(sample) * step, step * 0.501f) << c.name << ", sample " << i;
    }
    EXPECT_EQ(32767, loudest) << c.name;
  }
}
