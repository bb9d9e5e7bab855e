#pragma once

#include "framework/sound/SoundFileLoader.h"

#include <functional>
#include <string>
#include <vector>

// A SoundFileLoader over stereo frames in memory, keeping the loadChunk
// contract. It can report a length other than what it delivers, to play a
// decoder that promises more frames than it has.
class MemorySoundLoader final : public SoundFileLoader {
 public:
  // stereo: interleaved left/right. reportedLength < 0 reports the real length.
  MemorySoundLoader(const std::wstring &name, std::vector<float> stereo, long long reportedLength = -1);

  int loadChunk(float *buffer, long long &position, int numSamples, int offset) override;
  long long getFileLength() const override { return reportedLength; }
  float getSamplerate() const override { return 44100.0f; }
  int getNumChannels() const override { return 2; }
  std::wstring getName() const override { return name; }

  // A ramp: frame i holds (i + 1) / scale on the left and its negative on the
  // right, so every frame is distinct and its origin can be read back.
  static std::vector<float> ramp(long long frames, float scale);

  // Calls so far; read only while no other thread uses the loader.
  int getLoadCalls() const { return loadCalls; }
  // Run once, at the start of the next loadChunk: what happens elsewhere
  // while the loader decodes.
  void beforeNextLoad(std::function<void()> action) { beforeLoad = std::move(action); }

 private:
  std::wstring name;
  std::vector<float> frames;
  long long reportedLength;
  int loadCalls = 0;
  std::function<void()> beforeLoad;
};
