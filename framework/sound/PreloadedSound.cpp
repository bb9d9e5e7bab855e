#include "framework/sound/PreloadedSound.h"

#include "framework/sound/SoundFileLoader.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Frames decoded at a time: 32 KiB of floats.
constexpr int chunkFrames = 4096;
constexpr float fullScale = 32767.0f;

// Decodes `frames` frames from the loader's start and hands each chunk to
// use(floats, frameCount, firstFrame); stops where the decoder stops.
template <typename Use>
void decodeInChunks(SoundFileLoader &loader, long long frames, Use use) {
  std::vector<float> chunk(2 * chunkFrames);
  long long position = 0;
  for (long long first = 0; first < frames; first += chunkFrames) {
    const int wanted = static_cast<int>(std::min<long long>(chunkFrames, frames - first));
    const int delivered = std::max(loader.loadChunk(chunk.data(), position, 2 * wanted, 0), 0);
    use(chunk.data(), delivered, first);
    if (delivered < wanted) return;
  }
}

}  // namespace

PreloadedSound::PreloadedSound(SoundFileLoader &loader) : frameCount(std::max(loader.getFileLength(), 0LL)) {
  float peak = 0.0f;
  decodeInChunks(loader, frameCount, [&peak](const float *floats, int frames, long long) {
    for (int i = 0; i < 2 * frames; ++i) peak = std::max(peak, std::fabs(floats[i]));
  });
  // Zeroed: frames the decoder does not deliver stay silent, and so does all
  // of a sound without a signal (scale 0).
  samples.reset(new std::int16_t[static_cast<size_t>(2 * frameCount)]());
  if (!(peak > 0.0f)) return;
  sampleScale = peak / fullScale;
  // In double, so that each sample goes to the nearest step of the scale as
  // rounded to float; clamped against a step past the peak.
  const double toSteps = 1.0 / sampleScale;
  decodeInChunks(loader, frameCount, [this, toSteps](const float *floats, int frames, long long first) {
    std::int16_t *out = samples.get() + 2 * first;
    for (int i = 0; i < 2 * frames; ++i)
      out[i] = static_cast<std::int16_t>(std::clamp(std::lrint(floats[i] * toSteps), -32767L, 32767L));
  });
}
