#include "base/Thread.h"
#include "framework/sound/GenericFileSounder.h"
#include "framework/sound/VorbisfileLoader.h"
#include "support/MemorySoundLoader.h"
#include "support/OggTestFile.h"
#include "support/SoundRecorder.h"
#include "support/TempDir.h"
#include "framework/app/Platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>

#include <unistd.h>

namespace {

bool byMagnitude(float a, float b) { return std::fabs(a) < std::fabs(b); }

boost::shared_ptr<SoundFileLoader> constant(const std::wstring &name, long long frames, float value,
                                            long long reportedLength = -1) {
  return boost::shared_ptr<SoundFileLoader>(
      new MemorySoundLoader(name, std::vector<float>(2 * static_cast<size_t>(frames), value), reportedLength));
}

class GenericFileSounderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Platform::install();
    sounder.reset(new GenericFileSounder());
  }
  boost::shared_ptr<SoundFileLoader> oggFile(const std::string &name, long frames, int channels) {
    const std::string path = dir.path() + "/" + name;
    EXPECT_TRUE(OggTestFile::write(path, OggTestFile::sine(frames, channels, 44100, 330.0f, 0.6f), channels, 44100));
    const std::wstring wideName(name.begin(), name.end());
    return boost::shared_ptr<SoundFileLoader>(new VorbisfileLoader(FilePath(dir.widePath() + L"/" + wideName)));
  }

  TempDir dir;
  std::unique_ptr<GenericFileSounder> sounder;
};

}  // namespace

TEST_F(GenericFileSounderTest, FilesOf88200FramesAreStreamedAndShorterOnesPreloaded) {
  boost::shared_ptr<SoundFileLoader> shortFile = oggFile("Short.ogg", 88199, 2);
  boost::shared_ptr<SoundFileLoader> longFile = oggFile("Long.ogg", 88200, 2);
  sounder->loadSoundFileResource(shortFile);
  sounder->loadSoundFileResource(longFile);
  EXPECT_FALSE(sounder->isStreamed(L"Short"));
  EXPECT_TRUE(sounder->isStreamed(L"Long"));
  // A raised threshold keeps a long file in memory, and it still plays whole.
  sounder->setStreamingThreshold(88201);
  sounder->loadSoundFileResource(oggFile("Long2.ogg", 88200, 2));
  EXPECT_FALSE(sounder->isStreamed(L"Long2"));

  // All play their whole file, the streamed one through its ring, in device
  // blocks longer than a ring buffer once the streaming thread has had its
  // first round. The streamed one plays the decoder's floats; those held in
  // memory are within half a 16-bit step of their own peak.
  for (const char *name : {"Short", "Long", "Long2"}) {
    const std::vector<float> reference = OggTestFile::decode(dir.path() + "/" + name + ".ogg");
    const std::wstring sound(name, name + std::string(name).size());
    const float step = sounder->isStreamed(sound)
                           ? 0.0f
                           : std::fabs(*std::max_element(reference.begin(), reference.end(), byMagnitude)) / 32767;
    sounder->triggerSound(sound, 0.5f);
    std::vector<float> out = SoundRecorder::record(*sounder, 4096);
    const std::vector<float> rest = SoundRecorder::record(*sounder, 90000 - 4096, 16384);
    out.insert(out.end(), rest.begin(), rest.end());
    for (size_t i = 0; i < reference.size(); ++i)
      ASSERT_NEAR(reference[i] * 0.5f, out[i], step * 0.26f) << name << " float " << i;
    for (size_t i = reference.size(); i < out.size(); ++i) ASSERT_EQ(0.0f, out[i]) << name;
    EXPECT_EQ(0, sounder->getNumActiveSlots());
  }
}

TEST_F(GenericFileSounderTest, OneChannelFileSoundsTheSameOnBothSides) {
  sounder->loadSoundFileResource(oggFile("Mono.ogg", 10000, 1));
  const std::vector<float> mono = OggTestFile::decode(dir.path() + "/Mono.ogg");
  const float step = std::fabs(*std::max_element(mono.begin(), mono.end(), byMagnitude)) / 32767;
  sounder->triggerSound(L"Mono", 0.5f);
  const std::vector<float> out = SoundRecorder::record(*sounder, 10000);
  for (size_t i = 0; i < mono.size(); ++i) {
    ASSERT_NEAR(mono[i] * 0.5f, out[2 * i], step * 0.26f);
    ASSERT_EQ(out[2 * i], out[2 * i + 1]);
  }
}

TEST_F(GenericFileSounderTest, TheFirstFileLoadedUnderANameWinsInBothMaps) {
  sounder->loadSoundFileResource(constant(L"Tone", 1000, 0.2f));
  sounder->loadSoundFileResource(constant(L"Tone", 1000, 0.4f));
  sounder->loadSoundFileResource(constant(L"Drone", 100000, 0.1f));
  sounder->loadSoundFileResource(constant(L"Drone", 1000, 0.3f));
  sounder->triggerSound(L"Tone", 0.5f);
  EXPECT_FLOAT_EQ(0.1f, SoundRecorder::record(*sounder, 1)[0]);
  sounder->triggerSound(L"Drone", 0.5f);
  EXPECT_FLOAT_EQ(0.1f + 0.05f, SoundRecorder::record(*sounder, 1)[0]);
}

TEST_F(GenericFileSounderTest, PlayingMusicAgainCrossFadesIntoASecondSlot) {
  sounder->loadSoundFileResource(constant(L"Music", 50000, 0.4f));
  sounder->playMusic(L"Music");
  SoundRecorder::record(*sounder, 110000);
  EXPECT_EQ(1, sounder->getNumActiveSlots());
  sounder->playMusic(L"Music");
  EXPECT_EQ(2, sounder->getNumActiveSlots());
  const std::vector<float> out = SoundRecorder::record(*sounder, 110000);
  // The two envelopes add up to about full level all the way through.
  for (size_t frame = 0; frame < 100000; frame += 5000) EXPECT_NEAR(0.2f, out[2 * frame], 0.001f) << frame;
  EXPECT_EQ(1, sounder->getNumActiveSlots());
}

TEST_F(GenericFileSounderTest, A129thOverlappingSoundIsDropped) {
  sounder->loadSoundFileResource(constant(L"Click", 20000, 0.001f));
  sounder->loadSoundFileResource(constant(L"Other", 20000, 0.5f));
  for (int i = 0; i < GenericFileSounder::NumSlots; ++i) sounder->triggerSound(L"Click", 0.5f);
  EXPECT_EQ(128, sounder->getNumActiveSlots());
  sounder->triggerSound(L"Other", 0.5f);
  sounder->playMusic(L"Other");
  EXPECT_EQ(128, sounder->getNumActiveSlots());
  EXPECT_NEAR(128 * 0.0005f, SoundRecorder::record(*sounder, 1)[0], 1e-5f);
}

TEST_F(GenericFileSounderTest, DecodersThatDeliverLessThanTheyReportNeitherHangNorPlayGarbage) {
  sounder->loadSoundFileResource(constant(L"EmptyStream", 0, 0.5f, 200000));
  sounder->loadSoundFileResource(constant(L"ShortStream", 10, 0.5f, 100000));
  sounder->loadSoundFileResource(constant(L"ShortMemory", 10, 0.5f, 50000));
  for (const wchar_t *name : {L"EmptyStream", L"ShortStream", L"ShortMemory"}) {
    sounder->triggerSound(name, 0.5f);
    const std::vector<float> out = SoundRecorder::record(*sounder, 2000);
    for (size_t i = 20; i < out.size(); ++i) ASSERT_EQ(0.0f, out[i]);
    EXPECT_EQ(1, sounder->getNumActiveSlots());
    SoundRecorder::record(*sounder, 200000);
    EXPECT_EQ(0, sounder->getNumActiveSlots());
  }
}

TEST(GenericFileSounderDeathTest, LoadingAnEmptyLoaderIsAProgrammingError) {
  std::unique_ptr<GenericFileSounder> sounder(new GenericFileSounder());
  EXPECT_DEATH(sounder->loadSoundFileResource(boost::shared_ptr<SoundFileLoader>()),
               "^sound/FileSounder:[0-9]+: failed assertion `loader'\n$");
}

// The rings of 128 slots would take 33 MiB; a slot's ring is given memory
// only once it streams.
TEST(FileSounder, SlotsThatNeverStreamTakeAlmostNoMemory) {
  const auto residentPages = [] {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident;
  };
  const long before = residentPages();
  std::unique_ptr<GenericFileSounder> sounder(new GenericFileSounder());
  EXPECT_LT((residentPages() - before) * sysconf(_SC_PAGESIZE), 8L << 20);
}
