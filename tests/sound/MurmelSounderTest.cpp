#include "base/Thread.h"
#include "game/MurmelSounder.h"
#include "support/MemorySoundLoader.h"
#include "support/SoundRecorder.h"
#include "framework/app/Platform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <set>
#include <thread>

namespace {

boost::shared_ptr<SoundFileLoader> constant(const std::wstring &name, long long frames, float value) {
  return boost::shared_ptr<SoundFileLoader>(
      new MemorySoundLoader(name, std::vector<float>(2 * static_cast<size_t>(frames), value)));
}

class BarCounter final : public MurmelSounder::Callback {
 public:
  void barStart(AudioFrame frame) override {
    lastFrame = frame;
    ++bars;
  }
  std::atomic<int> bars{0};
  std::atomic<AudioFrame> lastFrame{-1};
};

class FinishCounter final : public StreamingSound::Callback {
 public:
  void soundFinished(const std::wstring &, AudioFrame frame) override {
    lastFrame = frame;
    ++finished;
  }
  std::atomic<int> finished{0};
  std::atomic<AudioFrame> lastFrame{-1};
};

class MurmelSounderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Platform::install();
    sounder.reset(new MurmelSounder());
    // Silent noise bed: most cases look at exact values.
    sounder->killNoise();
  }
  std::vector<float> record(int frames, int block = 4096) { return SoundRecorder::record(*sounder, frames, block); }
  // An instrument and a long spoken passage.
  void startInstrumentAndSpeech() {
    sounder->loadSoundFileResource(constant(L"Bell", 1000, 0.5f));
    sounder->loadSoundFileResource(constant(L"Speech", 300000, 0.2f));
    sounder->activateSound(L"Bell");
    sounder->triggerSound(L"Speech", 0.5f, nullptr);
  }

  std::unique_ptr<MurmelSounder> sounder;
};

}  // namespace

TEST_F(MurmelSounderTest, ActivateGivesMinusOneForUnknownNamesAndAFullPool) {
  sounder->loadSoundFileResource(constant(L"Bell", 1000, 0.1f));
  EXPECT_EQ(-1, sounder->activateSound(L"Nothing"));
  std::set<int> handles;
  for (int i = 0; i < MurmelSounder::NumSlots; ++i) {
    const int handle = sounder->activateSound(L"Bell");
    ASSERT_GE(handle, 0);
    handles.insert(handle);
  }
  EXPECT_EQ(128u, handles.size());
  EXPECT_EQ(-1, sounder->activateSound(L"Bell"));

  // Indices outside the pool are ignored.
  for (int slot : {-1, 128, 1000}) sounder->deactivateSound(slot);
  record(4096);
  EXPECT_EQ(128, sounder->getNumActiveSlots());
}

TEST_F(MurmelSounderTest, InstrumentsFadeInAtTheirLevelAndFadeOutWhenDeactivated) {
  sounder->loadSoundFileResource(constant(L"Bell", 1000, 0.5f));
  const int slot = sounder->activateSound(L"Bell");
  std::vector<float> out = record(110000);
  EXPECT_NEAR(0.5f * 0.5f * 0.5f * 0.66f * 0.75f, out[2 * 50000], 1e-4f);
  EXPECT_NEAR(0.5f * 0.66f * 0.5f * 0.75f, out[2 * 105000], 1e-5f);

  sounder->deactivateSound(slot);
  out = record(110000);
  EXPECT_NEAR(0.5f * 0.5f * 0.5f * 0.66f * 0.75f, out[2 * 50000], 1e-4f);
  EXPECT_EQ(0, sounder->getNumActiveSlots());
}

// The handle from activateSound names that start of the instrument: once the
// instrument has gone and a spoken passage has taken its slot, deactivating
// the old handle leaves the passage alone, and its end is still reported.
TEST_F(MurmelSounderTest, DeactivatingAnInstrumentThatHasGoneLeavesItsSlotsNewSoundAlone) {
  FinishCounter finish;
  sounder->loadSoundFileResource(constant(L"Bell", 1000, 0.5f));
  sounder->loadSoundFileResource(constant(L"Speech", 150000, 0.1f));
  const int bell = sounder->activateSound(L"Bell");
  record(4096);
  sounder->killAllSounds();
  record(110000);
  ASSERT_EQ(0, sounder->getNumActiveSlots());
  sounder->triggerSound(L"Speech", 0.5f, &finish);
  sounder->deactivateSound(bell);
  const std::vector<float> out = record(150000);
  EXPECT_FLOAT_EQ(0.1f * MurmelSounder::TriggeredLevel * 0.5f * 0.75f, out[2 * 120000]);
  EXPECT_EQ(1, finish.finished.load());
  sounder->unregisterCallback(&finish);
}

TEST_F(MurmelSounderTest, StopMusicBeforeAnyMusicLeavesEverySlotAlone) {
  startInstrumentAndSpeech();
  sounder->stopMusic();
  record(150000);
  EXPECT_EQ(2, sounder->getNumActiveSlots());
}

TEST_F(MurmelSounderTest, MusicPlaysAtItsLevelAndStopMusicFadesItOut) {
  sounder->loadSoundFileResource(constant(L"Music", 120000, 0.4f));
  sounder->playMusic(L"Music");
  std::vector<float> out = record(1000);
  EXPECT_FLOAT_EQ(0.4f * 1.5f * 0.5f * 0.75f, out[0]);
  EXPECT_FLOAT_EQ(0.4f * 1.5f * 0.5f * 0.75f, out[2 * 999]);
  sounder->stopMusic();
  out = record(102000);
  // Summed in single precision, the fade runs a little off the straight line.
  EXPECT_NEAR(0.4f * 1.5f * 0.5f * 0.5f * 0.75f, out[2 * 50000], 5e-4f);
  EXPECT_EQ(0, sounder->getNumActiveSlots());
}

// A slot starts a new sound at that sound's level, not at the level of the
// sound it played last: music after a spoken passage (level 4), a spoken
// passage after an instrument (0.66).
TEST_F(MurmelSounderTest, ASlotStartsEachNewSoundAtThatSoundsOwnLevel) {
  sounder->loadSoundFileResource(constant(L"Word", 100, 0.1f));
  sounder->loadSoundFileResource(constant(L"Bell", 1000, 0.1f));
  sounder->loadSoundFileResource(constant(L"Music", 1000, 0.1f));
  const float unit = 0.1f * 0.5f * 0.75f;
  sounder->triggerSound(L"Word", 0.5f, nullptr);
  record(4096);
  sounder->playMusic(L"Music");
  EXPECT_FLOAT_EQ(MurmelSounder::MusicLevel * unit, record(1)[0]);
  sounder->stopMusic();
  record(110000);

  const int bell = sounder->activateSound(L"Bell");
  record(110000);
  sounder->deactivateSound(bell);
  record(110000);
  ASSERT_EQ(0, sounder->getNumActiveSlots());
  sounder->triggerSound(L"Word", 0.5f, nullptr);
  EXPECT_FLOAT_EQ(MurmelSounder::TriggeredLevel * unit, record(1)[0]);
}

// Each bar is told with the place of its first frame on the sounder's clock,
// wherever it falls in a block, and a sound's end with the frame after its last.
TEST_F(MurmelSounderTest, BarClockCallsBackEvery44100FramesEvenForUnknownMusic) {
  BarCounter counter;
  sounder->setCallback(&counter);
  record(50000);
  EXPECT_EQ(0, counter.bars.load());
  EXPECT_EQ(50000, sounder->getClock().mixedFrames());
  sounder->playMusic(L"Nothing");
  EXPECT_EQ(0, sounder->getNumActiveSlots());
  // Odd block sizes: the bar falls inside blocks of every phase.
  for (int frames = 0; frames < 10 * 44100; frames += 1000) {
    record(1000, 333);
    const int bars = counter.bars.load();
    EXPECT_EQ((frames + 1000) / 44100, bars) << frames;
    if (bars > 0) {
      EXPECT_EQ(50000 + 44100LL * bars, counter.lastFrame.load()) << frames;
    }
  }
  sounder->setCallback(nullptr);

  FinishCounter finish;
  sounder->loadSoundFileResource(constant(L"Click", 1000, 0.5f));
  const AudioFrame start = sounder->getClock().mixedFrames();
  sounder->triggerSound(L"Click", 0.5f, &finish);
  record(2000, 333);
  EXPECT_EQ(start + 1000, finish.lastFrame.load());
  sounder->unregisterCallback(&finish);
}

// The streaming thread falls behind for several blocks; the music plays
// silence meanwhile, and within a block after its data arrives it is back on
// the bar clock, which counted on.
TEST_F(MurmelSounderTest, StarvedMusicIsBackOnTheBarClockWithinABlockOfItsData) {
  const long long length = 5 * MurmelSounder::BarLength;
  const std::vector<float> file = MemorySoundLoader::ramp(length, 1e7f);
  sounder->loadSoundFileResource(boost::shared_ptr<SoundFileLoader>(new MemorySoundLoader(L"Music", file)));
  BarCounter bars;
  sounder->setCallback(&bars);
  sounder->playMusic(L"Music");
  std::vector<float> block(2 * 4096);
  long long clock = 0;
  for (int i = 0; i < 14; ++i, clock += 4096) {
    std::fill(block.begin(), block.end(), 0.0f);
    sounder->getAudio(block.data(), block.data(), 4096);
  }
  EXPECT_EQ(1, bars.bars.load());
  sounder->updateStreams();
  const std::vector<float> out = record(4096);
  for (long long i = 0; i < 4096; ++i)
    ASSERT_FLOAT_EQ(file[2 * static_cast<size_t>((clock + i) % length)] * MurmelSounder::MusicLevel * 0.5f * 0.75f,
                    out[2 * static_cast<size_t>(i)])
        << i;
  sounder->setCallback(nullptr);
}

TEST_F(MurmelSounderTest, MixIsClampedThenScaledByThreeQuarters) {
  std::vector<float> block = {1.6f, -0.4f, -3.0f, 0.9f};
  sounder->getAudio(block.data(), block.data(), 2);
  EXPECT_FLOAT_EQ(0.75f, block[0]);
  EXPECT_FLOAT_EQ(-0.3f, block[1]);
  EXPECT_FLOAT_EQ(-0.75f, block[2]);
  EXPECT_FLOAT_EQ(0.675f, block[3]);
}

TEST(MurmelSounderNoise, NoiseBedPlaysBoundedAndLevelZeroIsExactSilence) {
  std::unique_ptr<MurmelSounder> sounder(new MurmelSounder());
  std::vector<float> out = SoundRecorder::record(*sounder, 200000);
  float loudest = 0.0f;
  for (size_t i = 0; i < out.size(); i += 2) {
    ASSERT_EQ(out[i], out[i + 1]);
    loudest = std::max(loudest, std::fabs(out[i]));
  }
  EXPECT_GT(loudest, 0.001f);
  EXPECT_LT(loudest, 0.5f * 0.75f);

  sounder->setNoiseLevel(0.0f);
  for (float v : SoundRecorder::record(*sounder, 50000)) ASSERT_EQ(0.0f, v);
}

TEST_F(MurmelSounderTest, KillTriggeredSilencesOnlyTheLatestSpokenPassage) {
  sounder->loadSoundFileResource(constant(L"First", 80000, 0.1f));
  sounder->loadSoundFileResource(constant(L"Second", 80000, 0.1f));
  sounder->triggerSound(L"First", 0.0f, nullptr);
  sounder->triggerSound(L"Second", 1.0f, nullptr);
  std::vector<float> out = record(4000);
  // Spoken passages play at level 4.
  EXPECT_FLOAT_EQ(0.1f * 4.0f * 0.5f * 0.75f, out[2 * 3999]);
  EXPECT_FLOAT_EQ(0.1f * 4.0f * 0.5f * 0.75f, out[2 * 3999 + 1]);
  sounder->killTriggered();
  out = record(4096);
  for (size_t i = 0; i < out.size(); i += 2) {
    ASSERT_FLOAT_EQ(0.15f, out[i]);
    ASSERT_EQ(0.0f, out[i + 1]);
  }
}

TEST_F(MurmelSounderTest, KillTriggeredLeavesAloneASoundThatTookOverTheSlot) {
  sounder->loadSoundFileResource(constant(L"Word", 100, 0.1f));
  sounder->loadSoundFileResource(constant(L"Bell", 1000, 0.5f));
  sounder->triggerSound(L"Word", 0.5f, nullptr);
  record(4096);
  ASSERT_EQ(0, FileSounder::fromInt(sounder->activateSound(L"Bell")).slot);
  sounder->killTriggered();
  record(200000);
  EXPECT_EQ(1, sounder->getNumActiveSlots());
}

TEST_F(MurmelSounderTest, MuteSilencesTheOutputWhileClocksAndSoundsRunOn) {
  BarCounter bars;
  FinishCounter finish;
  sounder->loadSoundFileResource(constant(L"Word", 50000, 0.3f));
  sounder->setCallback(&bars);
  sounder->playMusic(L"Nothing");
  sounder->triggerSound(L"Word", 0.5f, &finish);
  sounder->setMute(true);
  for (float v : record(49000)) ASSERT_EQ(0.0f, v);
  EXPECT_EQ(1, bars.bars.load());
  EXPECT_EQ(0, finish.finished.load());
  record(1000);
  EXPECT_EQ(1, finish.finished.load());
  sounder->setMute(false);
  sounder->triggerSound(L"Word", 0.5f, &finish);
  EXPECT_NE(0.0f, record(1)[0]);
  sounder->setCallback(nullptr);
  sounder->unregisterCallback(&finish);
}

namespace {

// Runs the sounder on a thread of its own, as an audio device would.
class AudioThread {
 public:
  explicit AudioThread(FileSounder &sounder)
      : thread([this, &sounder] {
          std::vector<float> block(2 * 4096);
          while (!stop) {
            std::fill(block.begin(), block.end(), 0.0f);
            sounder.getAudio(block.data(), block.data(), 4096);
          }
        }) {}
  ~AudioThread() {
    stop = true;
    thread.join();
  }

 private:
  std::atomic<bool> stop{false};
  std::thread thread;
};

// Stays inside its callback for a while and records whether it was left.
class SlowListener final : public MurmelSounder::Callback, public StreamingSound::Callback {
 public:
  void barStart(AudioFrame) override { linger(); }
  void soundFinished(const std::wstring &, AudioFrame) override { linger(); }
  void linger() {
    ++calls;
    inside = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    inside = false;
  }
  bool waitForCall() {
    for (int i = 0; i < 5000 && !inside; ++i) std::this_thread::sleep_for(std::chrono::microseconds(200));
    return inside;
  }
  std::atomic<bool> inside{false};
  std::atomic<int> calls{0};
};

}  // namespace

// Removing a callback returns only once a call into it has ended, and no
// call follows.
TEST_F(MurmelSounderTest, RemovingACallbackWaitsForACallInProgress) {
  std::unique_ptr<SlowListener> listener(new SlowListener());
  sounder->loadSoundFileResource(constant(L"Tick", 10, 0.1f));
  for (int i = 0; i < 10; ++i) sounder->triggerSound(L"Tick", 0.5f, listener.get());
  AudioThread audio(*sounder);
  ASSERT_TRUE(listener->waitForCall());
  sounder->unregisterCallback(listener.get());
  EXPECT_FALSE(listener->inside.load());

  sounder->setCallback(listener.get());
  sounder->playMusic(L"Nothing");
  ASSERT_TRUE(listener->waitForCall());
  sounder->setCallback(nullptr);
  EXPECT_FALSE(listener->inside.load());
  const int calls = listener->calls.load();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(calls, listener->calls.load());
}

// A callback may unregister itself from inside its own call on the audio thread.
TEST_F(MurmelSounderTest, CallbacksMayUnregisterThemselvesOnTheAudioThread) {
  class SelfRemoving final : public MurmelSounder::Callback {
   public:
    explicit SelfRemoving(MurmelSounder &sounder) : sounder(sounder) {}
    void barStart(AudioFrame) override {
      ++calls;
      sounder.setCallback(nullptr);
    }
    MurmelSounder &sounder;
    int calls = 0;
  } listener(*sounder);
  sounder->setCallback(&listener);
  sounder->playMusic(L"Nothing");
  record(3 * 44100);
  EXPECT_EQ(1, listener.calls);
}
