#include "framework/sound/ResamplingLoader.h"
#include "framework/sound/StreamingSound.h"
#include "framework/sound/VorbisfileLoader.h"
#include "support/MemorySoundLoader.h"
#include "support/OggTestFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

constexpr double deviceRate = 44100.0;

class ResamplingLoaderTest : public ::testing::Test {
 protected:
  // A file of `frames` frames at `rate` whose every channel holds the same
  // 1000 Hz sine, opened and brought to the device's rate.
  boost::shared_ptr<SoundFileLoader> sineFile(long rate, int channels, long frames, const std::string &tag = "") {
    const std::string name = "Sine" + std::to_string(rate) + "x" + std::to_string(channels) + tag;
    std::vector<float> samples(static_cast<size_t>(frames * channels));
    for (long i = 0; i < frames; ++i)
      for (int c = 0; c < channels; ++c)
        samples[static_cast<size_t>(i * channels + c)] = 0.5f * std::sin(2.0 * M_PI * 1000.0 * i / rate);
    EXPECT_TRUE(OggTestFile::write(dir.path() + "/" + name + ".ogg", samples, channels, rate));
    boost::shared_ptr<SoundFileLoader> file(
        new VorbisfileLoader(FilePath(dir.widePath() + L"/" + std::wstring(name.begin(), name.end()) + L".ogg")));
    return ResamplingLoader::toRate(file, deviceRate);
  }
  // Reads the whole sound in 11025-frame chunks as a streaming slot would.
  static std::vector<float> readAll(SoundFileLoader &loader) {
    std::vector<float> all, chunk(22050);
    long long position = 0;
    for (int reached = 11025; reached == 11025;) {
      reached = loader.loadChunk(chunk.data(), position, 22050, 0);
      all.insert(all.end(), chunk.begin(), chunk.begin() + 2 * reached);
    }
    EXPECT_EQ(0, position);
    return all;
  }
  // Upward zero crossings of the left channel between two frames, per second.
  static double frequencyOf(const std::vector<float> &stereo, size_t from, size_t to) {
    int crossings = 0;
    for (size_t i = from + 1; i < to; ++i) crossings += stereo[2 * (i - 1)] < 0.0f && stereo[2 * i] >= 0.0f;
    return crossings * deviceRate / static_cast<double>(to - from);
  }

  TempDir dir;
};

}  // namespace

TEST_F(ResamplingLoaderTest, FilesOfOtherRatesSoundAtTheirPitchForTheirWholeLength) {
  const struct {
    long rate;
    int channels;
  } cases[] = {{8000, 2}, {22050, 2}, {48000, 2}, {96000, 2}, {48000, 1}, {48000, 6}};
  for (const auto &c : cases) {
    SCOPED_TRACE(std::to_string(c.rate) + " Hz, " + std::to_string(c.channels) + " channels");
    const long frames = c.rate * 2;
    boost::shared_ptr<SoundFileLoader> loader = sineFile(c.rate, c.channels, frames);
    EXPECT_EQ(deviceRate, loader->getSamplerate());
    ASSERT_EQ(88200, loader->getFileLength());
    const std::vector<float> all = readAll(*loader);
    ASSERT_EQ(2u * 88200, all.size());
    EXPECT_NEAR(1000.0, frequencyOf(all, 4410, 84000), 2.0);
    // The signal runs to the end: neither delayed nor cut short.
    const auto energy = [&all](size_t from) {
      double sum = 0.0;
      for (size_t i = 2 * from; i < 2 * (from + 1150); ++i) sum += all[i] * all[i];
      return sum;
    };
    EXPECT_NEAR(1.0, energy(87000) / energy(40000), 0.15);
    EXPECT_FLOAT_EQ(all[2 * 50000], all[2 * 50000 + 1]);
  }
}

TEST_F(ResamplingLoaderTest, ChunksAtAnyPositionMatchReadingThrough) {
  boost::shared_ptr<SoundFileLoader> loader = sineFile(48000, 2, 60000);
  const std::vector<float> all = readAll(*loader);
  for (long long start : {0LL, 1LL, 147LL, 20000LL, 54000LL}) {
    SCOPED_TRACE(start);
    std::vector<float> chunk(2000);
    long long position = start;
    ASSERT_EQ(1000, loader->loadChunk(chunk.data(), position, 2000, 0));
    EXPECT_EQ(start + 1000, position);
    for (size_t i = 0; i < chunk.size(); ++i) ASSERT_NEAR(all[2 * start + i], chunk[i], 2e-3) << i;
  }
  // A chunk reaching past the end stops there and starts the next read at 0.
  std::vector<float> chunk(22050);
  long long position = loader->getFileLength() - 10;
  EXPECT_EQ(10, loader->loadChunk(chunk.data(), position, 22050, 0));
  EXPECT_EQ(0, position);
}

TEST_F(ResamplingLoaderTest, LoopingStreamStaysInStepLoopAfterLoop) {
  boost::shared_ptr<SoundFileLoader> loader = sineFile(48000, 2, 100000);
  const long long length = loader->getFileLength();
  ASSERT_EQ(91875, length);
  const std::vector<float> once = readAll(*sineFile(48000, 2, 100000, "Reference"));

  StreamingSound::FirstBuffer first(22050);
  long long position = 0;
  ASSERT_EQ(11025, loader->loadChunk(first.data(), position, 22050, 0));
  StreamingSound slot;
  slot.setFade(false);
  slot.setLoop(true);
  slot.startPlaying(loader, first);
  std::vector<float> block(2 * 1024);
  for (long long played = 0; played < 4 * length; played += 1024) {
    std::fill(block.begin(), block.end(), 0.0f);
    slot.getAudio(block.data(), 1024);
    slot.threadUpdate();
    for (size_t i = 0; i < block.size(); ++i) {
      // Centred at full level the slot plays half of each channel.
      const float expected =
          0.5f * once[static_cast<size_t>(2 * ((played + static_cast<long long>(i / 2)) % length)) + i % 2];
      ASSERT_NEAR(expected, block[i], 1e-6) << "frame " << played + static_cast<long long>(i / 2);
    }
  }
}

TEST_F(ResamplingLoaderTest, SoundsAtTheDeviceRateOrWithNothingToPlayAreLeftAlone) {
  boost::shared_ptr<SoundFileLoader> memory(new MemorySoundLoader(L"Ramp", MemorySoundLoader::ramp(100, 100.0f)));
  EXPECT_EQ(memory, ResamplingLoader::toRate(memory, deviceRate));
  boost::shared_ptr<SoundFileLoader> missing(new VorbisfileLoader(FilePath(dir.widePath() + L"/Missing.ogg")));
  EXPECT_EQ(missing, ResamplingLoader::toRate(missing, 48000.0));
  EXPECT_NE(memory, ResamplingLoader::toRate(memory, 48000.0));
}
