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

// A WAV as a voice program writes it to a pipe: placeholder sizes.
std::string wav(int channels, int bits, const std::vector<int16_t> &samples) {
  std::string bytes = "RIFF" + little(0x7FFFFFF0u, 4) + "WAVE";
  bytes += "fmt " + little(16, 4) + little(1, 2) + little(static_cast<uint32_t>(channels), 2) + little(22050, 4) +
           little(44100, 4) + little(2, 2) + little(static_cast<uint32_t>(bits), 2);
  bytes += "LIST" + little(3, 4) + "abc" + std::string(1, '\0');
  bytes += "data" + little(0x7FFFFFF0u, 4);
  for (int16_t s : samples) bytes += little(static_cast<uint16_t>(s), 2);
  return bytes;
}

}  // namespace

TEST(Speech, ReadsAPipedMonoWavToItsEnd) {
  int rate = 0;
  const std::vector<float> samples = Speech::parseWav(wav(1, 16, {0, 16384, -32768, 32767}), rate);
  EXPECT_EQ(22050, rate);
  ASSERT_EQ(4u, samples.size());
  EXPECT_EQ(0.0f, samples[0]);
  EXPECT_EQ(0.5f, samples[1]);
  EXPECT_EQ(-1.0f, samples[2]);
  EXPECT_NEAR(1.0f, samples[3], 1e-4f);
}

TEST(Speech, RefusesWhatIsNotSixteenBitMonoWav) {
  int rate = 0;
  EXPECT_TRUE(Speech::parseWav(wav(2, 16, {1, 2}), rate).empty());
  EXPECT_TRUE(Speech::parseWav(wav(1, 8, {1, 2}), rate).empty());
  EXPECT_TRUE(Speech::parseWav("RIFX and nothing else", rate).empty());
  EXPECT_TRUE(Speech::parseWav("", rate).empty());
}

TEST(Speech, DoublingTheRateKeepsTheSamplesAndFillsBetweenThem) {
  std::vector<float> in(2205);
  for (size_t i = 0; i < in.size(); ++i) in[i] = std::sin(6.2831853f * 1000.0f * static_cast<float>(i) / 22050.0f);
  const std::vector<float> out = Speech::doubleRate(in);
  ASSERT_EQ(2 * in.size(), out.size());
  for (size_t i = 0; i < in.size(); ++i) ASSERT_EQ(in[i], out[2 * i]);
  float error = 0.0f;
  for (size_t j = 200; j < out.size() - 200; ++j)
    error = std::max(error, std::fabs(out[j] - std::sin(6.2831853f * 1000.0f * static_cast<float>(j) / 44100.0f)));
  EXPECT_LT(error, 0.01f);
}
