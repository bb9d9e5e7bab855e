// What resampling adds to streaming: 11025-frame chunks of a 20-second
// stereo file decoded at its own rate, against the same file recorded at
// 48000 Hz and 8000 Hz decoded and brought to 44100 Hz.

#include "base/FilePath.h"
#include "framework/sound/ResamplingLoader.h"
#include "framework/sound/VorbisfileLoader.h"
#include "support/OggTestFile.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr long seconds = 20;

const TempDir &folder() {
  static TempDir dir;
  static const bool written = [] {
    for (long rate : {8000L, 44100L, 48000L}) {
      std::vector<float> samples(2 * static_cast<size_t>(seconds * rate), 0.0f);
      for (float f : {110.0f, 220.0f, 329.6f, 659.3f}) {
        const std::vector<float> tone = OggTestFile::sine(seconds * rate, 2, rate, f, 0.1f);
        for (size_t i = 0; i < samples.size(); ++i) samples[i] += tone[i];
      }
      OggTestFile::write(dir.path() + "/Rate" + std::to_string(rate) + ".ogg", samples, 2, rate);
    }
    return true;
  }();
  (void)written;
  return dir;
}

void BM_StreamAt44100(benchmark::State &state) {
  const long rate = state.range(0);
  boost::shared_ptr<SoundFileLoader> loader = ResamplingLoader::toRate(
      boost::shared_ptr<SoundFileLoader>(
          new VorbisfileLoader(FilePath(folder().widePath() + L"/Rate" + std::to_wstring(rate) + L".ogg"))),
      44100.0);
  std::vector<float> buffer(2 * 11025);
  long long position = 0;
  long frames = 0;
  for (auto _ : state) {
    frames += loader->loadChunk(buffer.data(), position, 2 * 11025, 0);
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetItemsProcessed(frames);
}
BENCHMARK(BM_StreamAt44100)->Arg(44100)->Arg(48000)->Arg(8000)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

}  // namespace
