#include "base/Thread.h"
#include "framework/sound/AudioStandIn.h"
#include "framework/app/Platform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using Clock = AudioStandIn::Clock;

// Counts the blocks it is asked to mix and remembers when the last one is
// heard; the silent clock's thread writes while the test reads.
class CountingMixer final : public AudioDeviceCallback {
 public:
  void blockHeardAt(Clock::time_point heardAt) override { lastHeard = heardAt.time_since_epoch().count(); }
  void getAudio(float *, float *output, int numSamples) override {
    output[0] = 1.0f;
    frames += numSamples;
    ++blocks;
  }
  std::atomic<int> blocks{0};
  std::atomic<long long> frames{0};
  std::atomic<Clock::rep> lastHeard{0};
  Clock::time_point lastHeardAt() const { return Clock::time_point(Clock::duration(lastHeard.load())); }
};

// A block as the device asks for it: whether it was mixed.
bool deviceBlock(AudioStandIn &standIn, Clock::time_point heardAt) {
  std::vector<float> block(2 * 512, 0.0f);
  standIn.blockHeardAt(heardAt);
  standIn.getAudio(block.data(), block.data(), 512);
  return block[0] != 0.0f;
}

}  // namespace

// The device goes quiet while frames run: half a second later a silent clock
// keeps the mix going at real time, the device's stray blocks stay silent
// meanwhile (a burst of them is no return), and a quarter of a second of
// blocks from the device hands the mix back. A pause of the frames
// themselves (a hidden tab) is no silence.
TEST(AudioStandIn, TakesOverFromASilentDeviceAndHandsBackWhenItReturns) {
  Platform::install();
  CountingMixer mixer;
  AudioStandIn standIn(mixer);
  standIn.setFormat(0, 2, 44100.0);
  const Clock::time_point deviceTime = Clock::now() + std::chrono::hours(1);
  Clock::time_point frame = Clock::now();
  const auto next = [&frame] { return frame += std::chrono::milliseconds(16); };

  for (int i = 0; i < 20; ++i) {
    EXPECT_TRUE(deviceBlock(standIn, deviceTime));
    EXPECT_FALSE(standIn.watch(next()));
  }
  EXPECT_EQ(deviceTime, mixer.lastHeardAt());
  // Frames and device stop for ten seconds, then the frames go on: not silence yet.
  frame += std::chrono::seconds(10);
  EXPECT_FALSE(standIn.watch(next()));
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(standIn.watch(next()));

  // Past half a second of frames without a block.
  for (int i = 0; i < 25; ++i) standIn.watch(next());
  ASSERT_TRUE(standIn.isStandingIn());
  const int before = mixer.blocks.load();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_GE(mixer.blocks.load() - before, 2);
  EXPECT_NE(deviceTime, mixer.lastHeardAt());

  // A burst, then nothing: the device only filled its queue.
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(deviceBlock(standIn, deviceTime));
  for (int i = 0; i < 20; ++i) EXPECT_TRUE(standIn.watch(next()));
  // The device comes back: its blocks stay silent until it has asked for a quarter of a second.
  int frames = 0;
  do {
    EXPECT_FALSE(deviceBlock(standIn, deviceTime));
    ++frames;
  } while (standIn.watch(next()) && frames < 100);
  EXPECT_EQ(16, frames);
  const int handedBack = mixer.blocks.load();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(handedBack, mixer.blocks.load()) << "the silent clock mixed on after handing back";
  EXPECT_TRUE(deviceBlock(standIn, deviceTime));
  EXPECT_EQ(deviceTime, mixer.lastHeardAt());
  EXPECT_EQ(20 + 4 + 16 + 1, standIn.deviceBlocks());
}
