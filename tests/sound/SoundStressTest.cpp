#include "base/FilePath.h"
#include "base/Thread.h"
#include "game/MurmelSounder.h"
#include "framework/sound/VorbisfileLoader.h"
#include "support/MemorySoundLoader.h"
#include "support/OggTestFile.h"
#include "support/TempDir.h"
#include "framework/app/Platform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <random>
#include <thread>

namespace {

class Listener final : public StreamingSound::Callback, public MurmelSounder::Callback {
 public:
  void soundFinished(const std::wstring &name, AudioFrame) override { finished += static_cast<int>(name.size() > 0); }
  void barStart(AudioFrame) override { ++bars; }
  // Plain fields on purpose: a call after unregistering is a race (and, once
  // deleted, a use after free) that the sanitizers report.
  int finished = 0;
  int bars = 0;
};

// The sounds the stress test plays: a streamed file and three preloaded ones.
std::unique_ptr<MurmelSounder> stressSounder(const TempDir &dir) {
  std::unique_ptr<MurmelSounder> sounder(new MurmelSounder());
  sounder->loadSoundFileResource(
      boost::shared_ptr<SoundFileLoader>(new VorbisfileLoader(FilePath(dir.widePath() + L"/Music.ogg"))));
  sounder->loadSoundFileResource(
      boost::shared_ptr<SoundFileLoader>(new MemorySoundLoader(L"Speech", MemorySoundLoader::ramp(120000, 1e6f))));
  sounder->loadSoundFileResource(
      boost::shared_ptr<SoundFileLoader>(new MemorySoundLoader(L"Bell", MemorySoundLoader::ramp(3000, 1e4f))));
  sounder->loadSoundFileResource(
      boost::shared_ptr<SoundFileLoader>(new MemorySoundLoader(L"Tick", MemorySoundLoader::ramp(40, 1e2f))));
  return sounder;
}

// One random call of the main thread's; true when it retired the listener.
bool playRandomly(MurmelSounder &sounder, std::mt19937 &random, std::unique_ptr<Listener> &listener, int &handle) {
  const wchar_t *names[] = {L"Music", L"Speech", L"Bell", L"Tick", L"Unknown"};
  const wchar_t *name = names[random() % 5];
  switch (random() % 12) {
    case 0:
    case 1:
    case 2: sounder.triggerSound(name, static_cast<float>(random() % 101) / 100.0f, listener.get()); break;
    case 3: handle = sounder.activateSound(name); break;
    // Live, stale and made-up handles alike.
    case 4: sounder.deactivateSound(random() % 2 ? handle : static_cast<int>(random() % 130) - 1); break;
    case 5: sounder.playMusic(name); break;
    case 6: sounder.stopMusic(); break;
    case 7: sounder.killTriggered(); break;
    case 8:
      if (random() % 20 == 0) sounder.killAllSounds();
      sounder.setNoiseLevel(static_cast<float>(random() % 3) / 2.0f);
      sounder.setMute(random() % 10 == 0);
      break;
    case 9: sounder.setCallback(random() % 2 ? listener.get() : nullptr); break;
    default:
      // Retire the listener: after these two calls nothing may reach it.
      sounder.setCallback(nullptr);
      sounder.unregisterCallback(listener.get());
      listener.reset(new Listener());
      return true;
  }
  return false;
}

}  // namespace

// The main thread starts, stops and triggers sounds and swaps callbacks in a
// loop while the audio thread mixes and the streaming thread refills, for a
// few seconds. Run under ThreadSanitizer in "make tsan".
TEST(SoundStress, MainAudioAndStreamingThreadsShareTheSounderWithoutRaces) {
  Platform::install();
  TempDir dir;
  ASSERT_TRUE(
      OggTestFile::write(dir.path() + "/Music.ogg", OggTestFile::sine(100000, 2, 44100, 220.0f, 0.3f), 2, 44100));
  std::unique_ptr<MurmelSounder> sounder = stressSounder(dir);

  std::atomic<bool> stop{false};
  std::atomic<long> blocks{0};
  std::atomic<bool> outOfRange{false};
  std::thread audio([&] {
    std::vector<float> block(2 * 4096);
    std::mt19937 random(1);
    while (!stop) {
      std::fill(block.begin(), block.end(), 0.0f);
      // Device blocks of several sizes, longer than a ring buffer too.
      const int frames = 1 + static_cast<int>(random() % 16384);
      block.resize(2 * static_cast<size_t>(frames));
      sounder->getAudio(block.data(), block.data(), frames);
      for (float v : block)
        if (!(std::fabs(v) <= 0.75f)) outOfRange = true;
      ++blocks;
      if (random() % 8 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });

  std::mt19937 random(2);
  std::unique_ptr<Listener> listener(new Listener());
  int retired = 0, handle = -1;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (std::chrono::steady_clock::now() < end) {
    if (playRandomly(*sounder, random, listener, handle)) ++retired;
    if (random() % 4 == 0) std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  stop = true;
  audio.join();
  EXPECT_GT(blocks.load(), 20);
  EXPECT_GT(retired, 10);
  EXPECT_FALSE(outOfRange.load());
}
