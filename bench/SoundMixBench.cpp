// The game sounder's mix of one 4096-frame device block (92.9 ms of audio at
// 44100 Hz). Reported per block and per slot-frame.

#include "sound/MurmelSounder.h"
#include "support/MemorySoundLoader.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int blockFrames = 4096;

boost::shared_ptr<SoundFileLoader> sound(const wchar_t *name, long long frames) {
  return boost::shared_ptr<SoundFileLoader>(new MemorySoundLoader(name, MemorySoundLoader::ramp(frames, 1e7f)));
}

// No thread back-end is installed: the benchmark refills the streams itself,
// outside the timed part.
std::unique_ptr<MurmelSounder> makeSounder() {
  std::unique_ptr<MurmelSounder> sounder(new MurmelSounder());
  // Preloaded (under 88200 frames) and streamed sounds.
  sounder->loadSoundFileResource(sound(L"Instrument", 80000));
  sounder->loadSoundFileResource(sound(L"LongInstrument", 4 * 44100));
  sounder->loadSoundFileResource(sound(L"Speech", 30 * 44100));
  sounder->loadSoundFileResource(sound(L"Music", 20 * 44100));
  return sounder;
}

void run(benchmark::State &state, MurmelSounder &sounder, int slots, bool streaming, int warmUpBlocks) {
  std::vector<float> block(2 * blockFrames);
  for (int i = 0; i < warmUpBlocks; ++i) {
    sounder.getAudio(block.data(), block.data(), blockFrames);
    sounder.updateStreams();
  }
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
// random swells runs (tanhf per frame).
void BM_MurmelMixUsualLoad(benchmark::State &state) {
  std::unique_ptr<MurmelSounder> sounder = makeSounder();
  sounder->activateSound(L"Instrument");
  sounder->triggerSound(L"Speech", 0.5f, nullptr);
  sounder->playMusic(L"Music");
  run(state, *sounder, 3, true, 30);
}
BENCHMARK(BM_MurmelMixUsualLoad)->Unit(benchmark::kMicrosecond);

void BM_MurmelMixNoiseOnly(benchmark::State &state) {
  std::unique_ptr<MurmelSounder> sounder = makeSounder();
  run(state, *sounder, 0, false, 30);
}
BENCHMARK(BM_MurmelMixNoiseOnly)->Unit(benchmark::kMicrosecond);

// Looping instruments, preloaded or streamed, at full level (steady) or all
// fading in at once.
void BM_MurmelMixInstruments(benchmark::State &state) {
  const int slots = static_cast<int>(state.range(0));
  const bool streamed = state.range(1) != 0;
  const bool fading = state.range(2) != 0;
  std::unique_ptr<MurmelSounder> sounder = makeSounder();
  // The slots alone.
  sounder->killNoise();
  for (int i = 0; i < slots; ++i) sounder->activateSound(streamed ? L"LongInstrument" : L"Instrument");
  // 25 blocks bring the fade-ins to full level.
  run(state, *sounder, slots, streamed, fading ? 0 : 30);
}
BENCHMARK(BM_MurmelMixInstruments)
    ->ArgNames({"slots", "streamed", "fading"})
    ->Args({16, 0, 0})
    ->Args({128, 0, 0})
    ->Args({16, 1, 0})
    ->Args({128, 1, 0})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MurmelMixInstruments)
    ->ArgNames({"slots", "streamed", "fading"})
    ->Args({128, 0, 1})
    ->Iterations(20)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
