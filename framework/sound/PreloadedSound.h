#pragma once

#include <cstdint>
#include <memory>

class SoundFileLoader;

// A short sound decoded whole into memory as interleaved stereo 16-bit
// samples: half the memory of the decoder's floats, and the precision the
// files were made with. One scale for the whole sound brings a sample back
// (sample * getSampleScale()): its loudest sample becomes 32767, so a quiet
// sound keeps all 16 bits, and a decoder's overshoot past full scale or a
// loud fold-down to stereo is kept rather than clipped.
// Made on the main thread and read-only afterwards: the audio thread may read
// it while it lives.
class PreloadedSound final {
 public:
  // The loader's getFileLength() frames from its start, decoded twice in
  // small chunks (once for the peak, once to store), so that the whole sound
  // is never held as floats. Frames the decoder does not deliver are silent.
  explicit PreloadedSound(SoundFileLoader &loader);

  const std::int16_t *getSamples() const { return samples.get(); }
  long long getFrameCount() const { return frameCount; }
  float getSampleScale() const { return sampleScale; }

 private:
  std::unique_ptr<std::int16_t[]> samples;
  long long frameCount = 0;
  float sampleScale = 0.0f;
};
