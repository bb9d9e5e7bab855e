#include "base/FilePath.h"
#include "base/UTF8File.h"
#include "framework/sound/SoundFileFactory.h"
#include "framework/sound/VorbisfileLoader.h"
#include "support/OggTestFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

namespace {

class SoundFileLoading : public ::testing::Test {
 protected:
  // Writes an Ogg file into the temporary folder and returns its path.
  std::string ogg(const std::string &name, long frames, int channels, long rate = 44100) {
    const std::string path = dir.path() + "/" + name;
    EXPECT_TRUE(OggTestFile::write(path, OggTestFile::sine(frames, channels, rate, 441.0f, 0.5f), channels, rate));
    return path;
  }
  static FilePath pathOf(const std::string &utf8) {
    std::wstring wide;
    EXPECT_TRUE(UTF8File::charToWstring(utf8, wide));
    return FilePath(wide);
  }
  // Reads the whole file in 11025-frame chunks as a streaming slot would.
  static std::vector<float> readAll(SoundFileLoader &loader, std::vector<int> *chunkEnds = nullptr) {
    std::vector<float> all;
    std::vector<float> chunk(22050);
    long long position = 0;
    for (;;) {
      const int reached = loader.loadChunk(chunk.data(), position, 22050, 0);
      if (chunkEnds) chunkEnds->push_back(reached);
      all.insert(all.end(), chunk.begin(), chunk.begin() + 2 * reached);
      if (reached < 11025) break;
    }
    EXPECT_EQ(0, position);
    return all;
  }

  TempDir dir;
};

}  // namespace

TEST_F(SoundFileLoading, StereoFileDecodesInChunksExactlyAsTheDecoderDelivers) {
  const std::string path = ogg("Tone.ogg", 30000, 2);
  VorbisfileLoader loader(pathOf(path));
  ASSERT_TRUE(loader.isOpen());
  EXPECT_EQ(30000, loader.getFileLength());
  EXPECT_EQ(44100.0f, loader.getSamplerate());
  EXPECT_EQ(2, loader.getNumChannels());
  EXPECT_EQ(L"Tone", loader.getName());

  std::vector<int> chunkEnds;
  const std::vector<float> all = readAll(loader, &chunkEnds);
  EXPECT_EQ((std::vector<int>{11025, 11025, 30000 - 2 * 11025}), chunkEnds);
  EXPECT_EQ(OggTestFile::decode(path), all);

  // Any position can be read, in any order.
  std::vector<float> frame(2);
  long long position = 20000;
  EXPECT_EQ(1, loader.loadChunk(frame.data(), position, 2, 0));
  EXPECT_EQ(20001, position);
  EXPECT_EQ(all[40000], frame[0]);
  EXPECT_EQ(all[40001], frame[1]);

  // From the last frame a chunk gets one frame, and the position rewinds.
  std::vector<float> buffer(22050, 7.0f);
  position = 29999;
  EXPECT_EQ(6, loader.loadChunk(buffer.data(), position, 22050, 5));
  EXPECT_EQ(0, position);
  EXPECT_EQ(all[2 * 29999], buffer[10]);
  EXPECT_EQ(7.0f, buffer[12]);
}

TEST_F(SoundFileLoading, MonoFileFillsBothFloatsOfStereoFramesAndNothingPastTheBuffer) {
  const std::string path = ogg("Mono.ogg", 20000, 1);
  const std::vector<float> mono = OggTestFile::decode(path);
  VorbisfileLoader loader(pathOf(path));
  ASSERT_EQ(1, loader.getNumChannels());

  const float canary = std::numeric_limits<float>::quiet_NaN();
  std::vector<float> buffer(22050 + 16, canary);
  long long position = 0;
  EXPECT_EQ(11025, loader.loadChunk(buffer.data(), position, 22050, 0));
  for (int i = 0; i < 11025; ++i) {
    ASSERT_EQ(mono[static_cast<size_t>(i)], buffer[2 * static_cast<size_t>(i)]);
    ASSERT_EQ(mono[static_cast<size_t>(i)], buffer[2 * static_cast<size_t>(i) + 1]);
  }
  for (size_t i = 22050; i < buffer.size(); ++i) EXPECT_TRUE(std::isnan(buffer[i]));

  // An odd float count: whole frames only.
  std::fill(buffer.begin(), buffer.end(), canary);
  position = 0;
  EXPECT_EQ(3, loader.loadChunk(buffer.data(), position, 7, 0));
  EXPECT_TRUE(std::isnan(buffer[6]));
}

TEST_F(SoundFileLoading, OtherRatesAreReportedAndDeliveredUnresampled) {
  VorbisfileLoader loader(pathOf(ogg("Fast.ogg", 48000, 2, 48000)));
  ASSERT_TRUE(loader.isOpen());
  EXPECT_EQ(48000.0f, loader.getSamplerate());
  EXPECT_EQ(48000, loader.getFileLength());
  EXPECT_EQ(2 * 48000u, readAll(loader).size());
}

TEST_F(SoundFileLoading, UnreadableFilesGiveClosedLoadersThatWriteNothingAndSayWhyOnce) {
  std::string random(4096, '\0');
  for (size_t i = 0; i < random.size(); ++i) random[i] = static_cast<char>((i * 7919u + 13u) % 251u);
  dir.writeFile("Random.ogg", random);
  dir.writeFile("Empty.ogg", "");
  dir.writeFile("Text.ogg", "this is not an Ogg Vorbis file\n");
  const std::string whole = dir.readFile(ogg("Whole.ogg", 20000, 2).substr(dir.path().size() + 1));
  dir.writeFile("HeaderOnly.ogg", whole.substr(0, 100));
  ASSERT_EQ(0, mkdir((dir.path() + "/Folder.ogg").c_str(), 0755));
  // Found by fuzzing: the headers' pages end early, and a second stream begins.
  std::ifstream cut(MURMEL_TESTS_SOURCE_DIR "/sound/data/HeadersCutShort.ogg", std::ios::binary);
  dir.writeFile("HeadersCutShort.ogg", std::string(std::istreambuf_iterator<char>(cut), {}));

  const struct {
    const char *name, *reason;
  } cases[] = {{"Random.ogg", "not an Ogg Vorbis stream"},
               {"Empty.ogg", "not an Ogg Vorbis stream"},
               {"Text.ogg", "not an Ogg Vorbis stream"},
               {"HeaderOnly.ogg", "not an Ogg Vorbis stream"},
               {"Folder.ogg", "read error"},
               {"HeadersCutShort.ogg", "read error"},
               {"Missing.ogg", "no such file"}};
  for (const auto &c : cases) {
    const std::string path = dir.path() + "/" + c.name;
    ::testing::internal::CaptureStderr();
    {
      VorbisfileLoader loader(pathOf(path));
      EXPECT_FALSE(loader.isOpen()) << c.name;
      EXPECT_EQ(0, loader.getFileLength()) << c.name;
      EXPECT_EQ(44100.0f, loader.getSamplerate()) << c.name;
      EXPECT_EQ(2, loader.getNumChannels()) << c.name;
      std::vector<float> buffer(100, 3.0f);
      // Like any end of a file, this one rewinds, from wherever the read began.
      for (long long start : {0LL, 1000LL, 1LL << 40}) {
        long long position = start;
        EXPECT_EQ(4, loader.loadChunk(buffer.data(), position, 100, 4)) << c.name;
        EXPECT_EQ(0, position) << c.name << " from " << start;
      }
      for (float v : buffer) EXPECT_EQ(3.0f, v);
    }
    EXPECT_EQ("Murmel Worlds: cannot read sound file \"" + path + "\": " + c.reason + "\n",
              ::testing::internal::GetCapturedStderr());
  }
}

// 200 bytes flipped in the middle lose a stretch of the file: the decoder
// reports a hole and reads on, and so must the loader, to the file's end.
TEST_F(SoundFileLoading, DamagedPageMidFileIsReadPastNotTakenForTheEnd) {
  std::string damaged = dir.readFile(ogg("Whole.ogg", 220500, 2).substr(dir.path().size() + 1));
  for (size_t i = damaged.size() / 2; i < damaged.size() / 2 + 200; ++i) damaged[i] = static_cast<char>(~damaged[i]);
  dir.writeFile("Damaged.ogg", damaged);
  const std::vector<float> reference = OggTestFile::decode(dir.path() + "/Damaged.ogg");
  ASSERT_GT(reference.size(), 2u * 150000u);

  ::testing::internal::CaptureStderr();
  VorbisfileLoader loader(pathOf(dir.path() + "/Damaged.ogg"));
  const std::vector<float> all = readAll(loader);
  EXPECT_EQ(reference.size(), all.size());
  EXPECT_TRUE(reference == all);
  // A hole is damage the decoder recovers from, not a failure.
  EXPECT_EQ("", ::testing::internal::GetCapturedStderr());
}

// Vorbis channel order: 3 channels L, C, R; 4: FL, FR, RL, RR; 5: FL, C, FR,
// RL, RR; 5.1 adds the LFE; 7.1: FL, C, FR, SL, SR, RL, RR, LFE. Fronts go to
// their side, surrounds at -3 dB into theirs, centre and LFE at -3 dB into both.
TEST_F(SoundFileLoading, EveryChannelOfASurroundFileIsFoldedIntoLeftAndRight) {
  const float h = std::sqrt(0.5f);
  struct Gain {
    float left, right;
  };
  const struct {
    int channels;
    std::vector<Gain> gains;
  } cases[] = {{1, {{1, 1}}},
               {2, {{1, 0}, {0, 1}}},
               {3, {{1, 0}, {h, h}, {0, 1}}},
               {4, {{1, 0}, {0, 1}, {h, 0}, {0, h}}},
               {5, {{1, 0}, {h, h}, {0, 1}, {h, 0}, {0, h}}},
               {6, {{1, 0}, {h, h}, {0, 1}, {h, 0}, {0, h}, {h, h}}},
               {8, {{1, 0}, {h, h}, {0, 1}, {h, 0}, {0, h}, {h, 0}, {0, h}, {h, h}}}};
  for (const auto &c : cases) {
    const std::string name = "Channels" + std::to_string(c.channels) + ".ogg";
    // Each channel its own frequency, quiet enough that the sums stay in range.
    const std::string path = dir.path() + "/" + name;
    ASSERT_TRUE(
        OggTestFile::write(path, OggTestFile::sine(30000, c.channels, 44100, 110.0f, 0.15f), c.channels, 44100));
    const std::vector<float> file = OggTestFile::decode(path);
    VorbisfileLoader loader(pathOf(path));
    const std::vector<float> all = readAll(loader);
    ASSERT_EQ(2 * file.size() / static_cast<size_t>(c.channels), all.size()) << name;
    for (size_t frame = 0; frame < all.size() / 2; ++frame) {
      float left = 0.0f, right = 0.0f;
      for (int channel = 0; channel < c.channels; ++channel) {
        const float sample = file[frame * static_cast<size_t>(c.channels) + static_cast<size_t>(channel)];
        left += sample * c.gains[static_cast<size_t>(channel)].left;
        right += sample * c.gains[static_cast<size_t>(channel)].right;
      }
      ASSERT_NEAR(left, all[2 * frame], 1e-5f) << name << " frame " << frame;
      ASSERT_NEAR(right, all[2 * frame + 1], 1e-5f) << name << " frame " << frame;
    }
  }
}

TEST_F(SoundFileLoading, TruncatedFileDeliversAtMostItsLengthAndEnds) {
  const std::string whole = dir.readFile(ogg("Whole.ogg", 60000, 2).substr(dir.path().size() + 1));
  dir.writeFile("Cut.ogg", whole.substr(0, whole.size() / 2));
  VorbisfileLoader loader(pathOf(dir.path() + "/Cut.ogg"));
  EXPECT_LT(loader.getFileLength(), 60000);
  EXPECT_LE(readAll(loader).size(), 2 * static_cast<size_t>(loader.getFileLength()));
}

TEST_F(SoundFileLoading, ChainedFilePlaysOnlyItsFirstStream) {
  const std::string first = dir.readFile(ogg("A.ogg", 15000, 2).substr(dir.path().size() + 1));
  const std::string second = dir.readFile(ogg("B.ogg", 9000, 2).substr(dir.path().size() + 1));
  dir.writeFile("Chain.ogg", first + second);
  VorbisfileLoader loader(pathOf(dir.path() + "/Chain.ogg"));
  EXPECT_EQ(15000, loader.getFileLength());
  EXPECT_EQ(2 * 15000u, readAll(loader).size());
}

TEST_F(SoundFileLoading, NonAsciiPathsOpenAndNameTheSound) {
  ASSERT_EQ(0, mkdir((dir.path() + "/Klänge").c_str(), 0755));
  VorbisfileLoader loader(pathOf(ogg("Klänge/Glöckchen ♪.ogg", 1000, 2)));
  EXPECT_TRUE(loader.isOpen());
  EXPECT_EQ(L"Glöckchen ♪", loader.getName());
}

TEST_F(SoundFileLoading, FactoryChoosesByExactExtensionAndKeepsTheFirstCreator) {
  class NullCreator final : public SoundFileLoader::Creator {
   public:
    boost::shared_ptr<SoundFileLoader> createLoader(const FilePath &) const override {
      return boost::shared_ptr<SoundFileLoader>();
    }
  } nullCreator;
  SoundFileFactory factory;
  factory.registerCreator(L"ogg", &VorbisfileLoader::creator);
  factory.registerCreator(L"ogg", &nullCreator);
  const std::string path = ogg("Tone.ogg", 1000, 2);

  boost::shared_ptr<SoundFileLoader> loader = factory.getLoader(pathOf(path));
  ASSERT_TRUE(loader);
  EXPECT_EQ(1000, loader->getFileLength());
  EXPECT_FALSE(factory.getLoader(pathOf(dir.path() + "/Tone.OGG")));
  EXPECT_FALSE(factory.getLoader(pathOf(dir.path() + "/Tone")));
  EXPECT_FALSE(factory.getLoader(pathOf(dir.path() + "/Tone.wav")));
}
