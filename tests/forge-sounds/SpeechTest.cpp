#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Speech.h"

namespace {

std::string little(uint32_t value, int size) {
  std::string bytes;
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return bytes;
}

// A WAV as a voice program writes it to a pipe: sizes that are placeholders
// or left at zero.
std::string wav(int channels, int bits, const std::vector<int16_t> &samples, uint32_t sizes = 0x7FFFFFF0u) {
  std::string bytes = "RIFF" + little(sizes, 4) + "WAVE";
  bytes += "fmt " + little(16, 4) + little(1, 2) + little(static_cast<uint32_t>(channels), 2) + little(22050, 4) +
           little(44100, 4) + little(2, 2) + little(static_cast<uint32_t>(bits), 2);
  bytes += "LIST" + little(3, 4) + "abc" + std::string(1, '\0');
  bytes += "data" + little(sizes, 4);
  for (int16_t s : samples) bytes += little(static_cast<uint16_t>(s), 2);
  return bytes;
}

}  // namespace

TEST(Speech, ReadsAPipedMonoWavToItsEnd) {
  for (uint32_t sizes : {0x7FFFFFF0u, 0u}) {
    SCOPED_TRACE(sizes);
    int rate = 0;
    const std::vector<float> samples = Speech::parseWav(wav(1, 16, {0, 16384, -32768, 32767}, sizes), rate);
    EXPECT_EQ(22050, rate);
    ASSERT_EQ(4u, samples.size());
    EXPECT_EQ(0.0f, samples[0]);
    EXPECT_EQ(0.5f, samples[1]);
    EXPECT_EQ(-1.0f, samples[2]);
    EXPECT_NEAR(1.0f, samples[3], 1e-4f);
  }
}

TEST(Speech, RefusesWhatIsNotSixteenBitMonoWav) {
  int rate = 0;
  EXPECT_TRUE(Speech::parseWav(wav(2, 16, {1, 2}), rate).empty());
  EXPECT_TRUE(Speech::parseWav(wav(1, 8, {1, 2}), rate).empty());
  EXPECT_TRUE(Speech::parseWav("RIFX and nothing else", rate).empty());
  EXPECT_TRUE(Speech::parseWav("", rate).empty());
}

// A tone inside both bands comes through at its level and pitch; one above
// the lower rate's Nyquist frequency is gone.
TEST(Speech, ResamplingKeepsTheSharedBandAndDropsWhatTheNewRateCannotHold) {
  struct Case {
    int from, to;
    float hertz, expectedAmplitude;
  };
  const Case cases[] = {{22050, 44100, 1000.0f, 1.0f},
                        {32000, 44100, 1000.0f, 1.0f},
                        {32000, 44100, 10000.0f, 1.0f},
                        {44100, 16000, 3000.0f, 1.0f},
                        {44100, 16000, 10000.0f, 0.0f}};
  const float twoPi = 6.2831853f;
  for (const Case &c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " to " + std::to_string(c.to) + " Hz at " + std::to_string(c.hertz));
    std::vector<float> in(static_cast<size_t>(c.from / 5));
    for (size_t i = 0; i < in.size(); ++i) in[i] = std::sin(twoPi * c.hertz * static_cast<float>(i) / c.from);
    const std::vector<float> out = Speech::resample(in, c.from, c.to);
    ASSERT_EQ(static_cast<size_t>(c.to / 5), out.size());
    float error = 0.0f;
    for (size_t j = 300; j < out.size() - 300; ++j) {
      const float expected = c.expectedAmplitude * std::sin(twoPi * c.hertz * static_cast<float>(j) / c.to);
      error = std::max(error, std::fabs(out[j] - expected));
    }
    EXPECT_LT(error, 0.01f);
  }
}
