#include "FadeCycle.h"
#include "FrameWindow.h"

#include "game/MurmelSounder.h"
#include "support/MemorySoundLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr int blockFrames = 4096;

}  // namespace

// Every channel stays in a fade: after the first cycle as many slots play as
// there are channels (one block's gap allowed while a slot's fade-out ends),
// and no more, also when the channels take the whole pool.
TEST(FadeCycle, KeepsEveryChannelPlaying) {
  for (const int channels : {8, 37, MurmelSounder::NumSlots}) {
    // No thread back-end: the sounder mixes from memory only.
    std::unique_ptr<MurmelSounder> sounder(new MurmelSounder());
    sounder->killNoise();
    sounder->setStreamingThreshold(1LL << 40);
    std::vector<std::wstring> names;
    for (const wchar_t *name : {L"A", L"B", L"C"}) {
      sounder->loadSoundFileResource(
          boost::shared_ptr<SoundFileLoader>(new MemorySoundLoader(name, MemorySoundLoader::ramp(10 * 44100, 1e7f))));
      names.push_back(name);
    }
    FadeCycle cycle(*sounder, names, channels, blockFrames);
    std::vector<float> block(2 * blockFrames);
    long long frames = 0;
    int fewest = MurmelSounder::NumSlots, most = 0;
    while (frames < 4 * cycle.cycleFrames()) {
      std::fill(block.begin(), block.end(), 0.0f);
      sounder->getAudio(block.data(), block.data(), blockFrames);
      frames += blockFrames;
      cycle.afterBlock(frames);
      if (frames <= cycle.cycleFrames() + blockFrames) continue;
      fewest = std::min(fewest, sounder->getNumActiveSlots());
      most = std::max(most, sounder->getNumActiveSlots());
    }
    EXPECT_EQ(channels, most) << channels << " channels";
    EXPECT_GE(fewest, channels - 1) << channels << " channels";
    // Each restart waits at most a block for its slot.
    EXPECT_LE(cycle.getRetries(), channels * 4) << channels << " channels";
  }
}

// The window covers whole blocks from the first boundary after it is armed:
// exactly as many frames as asked for rounded up to a block, never the block
// in progress when it was armed nor the one after it closed.
TEST(FrameWindow, CoversWholeBlocksAfterArming) {
  FrameWindow window(10000);
  std::atomic<bool> stop{false};
  std::thread audio([&] {
    while (!stop.load()) window.blockDone(blockFrames);
  });
  window.waitForFrames(5 * blockFrames);
  window.measure();
  stop.store(true);
  audio.join();
  EXPECT_EQ(3 * blockFrames, window.measuredFrames());
  EXPECT_GE(window.cpuSeconds(), 0.0);
}
