// The game sounder's mix of one 4096-frame device block (92.9 ms of audio at
// 44100 Hz). Reported per block and per slot-frame.
//
// The slot cases compare like with like against other mixers: eight distinct
// 10-second looping sounds, slot i playing sound i % 8, each slot started at
// its own moment, so that no two slots read the same memory.

#include "framework/sound/InterestingNoise.h"
#include "game/MurmelSounder.h"
#include "support/MemorySoundLoader.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int blockFrames = 4096;
constexpr int distinctSounds = 8;
constexpr long long loopFrames = 10 * 44100;
// Frames mixed between two starts: slots of the same sound end up 8 x 3001
// frames apart, more than a block.
constexpr int staggerFrames = 3001;

boost::shared_ptr<SoundFileLoader> sound(const std::wstring &name, long long frames, float scale) {
  return boost::shared_ptr<SoundFileLoader>(new MemorySoundLoader(name, MemorySoundLoader::ramp(frames, scale)));
}

std::wstring loopName(int slot) { return L"Loop" + std::to_wstring(slot % distinctSounds); }

// No thread back-end is installed: the benchmark refills the streams itself,
// outside the timed part.
std::unique_ptr<MurmelSounder> makeUsualSounder() {
  std::unique_ptr<MurmelSounder> sounder(new MurmelSounder());
  // Preloaded (under 88200 frames) and streamed sounds.
  sounder->loadSoundFileResource(sound(L"Instrument", 80000, 1e7f));
  sounder->loadSoundFileResource(sound(L"Speech", 30 * 44100, 2e7f));
  sounder->loadSoundFileResource(sound(L"Music", 20 * 44100, 3e7f));
  return sounder;
}

// The eight loops, all preloaded or all streamed.
std::unique_ptr<MurmelSounder> makeLoopSounder(bool streamed) {
  std::unique_ptr<MurmelSounder> sounder(new MurmelSounder());
  if (!streamed) sounder->setStreamingThreshold(loopFrames + 1);
  for (int i = 0; i < distinctSounds; ++i)
    sounder->loadSoundFileResource(sound(loopName(i), loopFrames, 1e7f * static_cast<float>(i + 1)));
  return sounder;
}

void mixFrames(MurmelSounder &sounder, std::vector<float> &block, int frames) {
  for (int done = 0; done < frames; done += blockFrames) {
    sounder.getAudio(block.data(), block.data(), std::min(blockFrames, frames - done));
    sounder.updateStreams();
  }
}

void run(benchmark::State &state, MurmelSounder &sounder, int slots, bool streaming) {
  std::vector<float> block(2 * blockFrames);
  for (auto _ : state) {
    std::fill(block.begin(), block.end(), 0.0f);
    sounder.getAudio(block.data(), block.data(), blockFrames);
    benchmark::DoNotOptimize(block.data());
    if (streaming) {
      state.PauseTiming();
      sounder.updateStreams();
      // A spoken passage that has ended is started again.
      if (sounder.getNumActiveSlots() < slots) sounder.triggerSound(L"Speech", 0.5f, nullptr);
      state.ResumeTiming();
    }
  }
  state.SetItemsProcessed(state.iterations() * blockFrames);
  state.counters["slots"] = slots;
  // Time per slot and frame, shown with an SI prefix ("n" is nanoseconds).
  if (slots > 0)
    state.counters["per_slot_frame"] =
        benchmark::Counter(static_cast<double>(slots) * blockFrames,
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// What the game plays most of the time: the noise bed under an instrument, a
// spoken passage and the music. The noise bed costs most while one of its
// random swells runs (tanh per frame).
void BM_MurmelMixUsualLoad(benchmark::State &state) {
  std::unique_ptr<MurmelSounder> sounder = makeUsualSounder();
  sounder->activateSound(L"Instrument");
  sounder->triggerSound(L"Speech", 0.5f, nullptr);
  sounder->playMusic(L"Music");
  std::vector<float> block(2 * blockFrames);
  mixFrames(*sounder, block, 30 * blockFrames);
  run(state, *sounder, 3, true);
}
BENCHMARK(BM_MurmelMixUsualLoad)->Unit(benchmark::kMicrosecond);

void BM_MurmelMixNoiseOnly(benchmark::State &state) {
  std::unique_ptr<MurmelSounder> sounder = makeUsualSounder();
  std::vector<float> block(2 * blockFrames);
  mixFrames(*sounder, block, 30 * blockFrames);
  run(state, *sounder, 0, false);
}
BENCHMARK(BM_MurmelMixNoiseOnly)->Unit(benchmark::kMicrosecond);

// The noise bed at its dearest, while a swell runs.
void BM_NoiseBedSwelling(benchmark::State &state) {
  InterestingNoise noise;
  std::vector<float> block(2 * blockFrames);
  while (!noise.isSwelling()) noise.getAudio(block.data(), blockFrames);
  for (auto _ : state) {
    noise.getAudio(block.data(), blockFrames);
    benchmark::DoNotOptimize(block.data());
    // Swells last at least 400000 frames: start another when one ends.
    while (!noise.isSwelling()) noise.getAudio(block.data(), blockFrames);
  }
  state.SetItemsProcessed(state.iterations() * blockFrames);
}
BENCHMARK(BM_NoiseBedSwelling)->Unit(benchmark::kMicrosecond);

// Looping instruments on distinct sounds at staggered positions, preloaded or
// streamed, at full level (steady) or all fading out at once.
void BM_MurmelMixLoops(benchmark::State &state) {
  const int slots = static_cast<int>(state.range(0));
  const bool streamed = state.range(1) != 0;
  const bool fading = state.range(2) != 0;
  std::unique_ptr<MurmelSounder> sounder = makeLoopSounder(streamed);
  // The slots alone.
  sounder->killNoise();
  std::vector<float> block(2 * blockFrames);
  for (int i = 0; i < slots; ++i) {
    sounder->activateSound(loopName(i));
    mixFrames(*sounder, block, staggerFrames);
  }
  // The last fade-in ends.
  mixFrames(*sounder, block, 100000);
  // A fade-out lasts 100000 frames, longer than the 20 blocks timed.
  if (fading) sounder->killAllSounds();
  run(state, *sounder, slots, streamed);
}
BENCHMARK(BM_MurmelMixLoops)
    ->ArgNames({"slots", "streamed", "fading"})
    ->ArgsProduct({{8, 32, 128}, {0, 1}, {0}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MurmelMixLoops)
    ->ArgNames({"slots", "streamed", "fading"})
    ->ArgsProduct({{8, 32, 128}, {0, 1}, {1}})
    ->Iterations(20)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
