// Decoding throughput of VorbisfileLoader::loadChunk in streaming-sized
// chunks (11025 frames) against a bare ov_read_float loop on the same
// 60-second stereo file.

#include "base/FilePath.h"
#include "framework/sound/VorbisfileLoader.h"
#include "support/OggTestFile.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>
#include <vorbis/vorbisfile.h>

#include <vector>

namespace {

constexpr long fileFrames = 60 * 44100;

const TempDir &folder() {
  static TempDir dir;
  static const bool written = [] {
    // Music-like content: two chords' worth of partials rather than one pure tone.
    std::vector<float> samples(2 * static_cast<size_t>(fileFrames), 0.0f);
    for (float f : {110.0f, 164.8f, 220.0f, 277.2f, 329.6f, 440.0f, 659.3f}) {
      const std::vector<float> tone = OggTestFile::sine(fileFrames, 2, 44100, f, 0.1f);
      for (size_t i = 0; i < samples.size(); ++i) samples[i] += tone[i];
    }
    return OggTestFile::write(dir.path() + "/Minute.ogg", samples, 2, 44100);
  }();
  (void)written;
  return dir;
}

void BM_LoadChunk(benchmark::State &state) {
  VorbisfileLoader loader(FilePath(folder().widePath() + L"/Minute.ogg"));
  if (!loader.isOpen()) state.SkipWithError("no test file");
  std::vector<float> buffer(2 * 11025);
  long long position = 0;
  long frames = 0;
  for (auto _ : state) {
    frames += loader.loadChunk(buffer.data(), position, 2 * 11025, 0);
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetItemsProcessed(frames);
}
BENCHMARK(BM_LoadChunk)->Unit(benchmark::kMicrosecond)->MinTime(3.0);

void BM_BareReadFloat(benchmark::State &state) {
  OggVorbis_File file;
  if (ov_fopen((folder().path() + "/Minute.ogg").c_str(), &file) != 0) {
    state.SkipWithError("no test file");
    return;
  }
  long frames = 0;
  for (auto _ : state) {
    // The same amount per iteration as a chunk, read as the decoder delivers it.
    long chunk = 0;
    while (chunk < 11025) {
      float **pcm = nullptr;
      int bitstream = 0;
      const long n = ov_read_float(&file, &pcm, static_cast<int>(11025 - chunk), &bitstream);
      if (n <= 0) {
        ov_pcm_seek(&file, 0);
        break;
      }
      benchmark::DoNotOptimize(pcm);
      chunk += n;
    }
    frames += chunk;
  }
  ov_clear(&file);
  state.SetItemsProcessed(frames);
}
BENCHMARK(BM_BareReadFloat)->Unit(benchmark::kMicrosecond)->MinTime(3.0);

}  // namespace
