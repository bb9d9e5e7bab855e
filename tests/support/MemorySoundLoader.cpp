#include "support/MemorySoundLoader.h"

#include "base/FilePath.h"

MemorySoundLoader::MemorySoundLoader(const std::wstring &name, std::vector<float> stereo, long long reportedLength)
    : SoundFileLoader(FilePath(name)), name(name), frames(std::move(stereo)), reportedLength(reportedLength) {
  if (this->reportedLength < 0) this->reportedLength = static_cast<long long>(frames.size() / 2);
}

int MemorySoundLoader::loadChunk(float *buffer, long long &position, int numSamples, int offset) {
  ++loadCalls;
  if (beforeLoad) {
    const std::function<void()> action = std::move(beforeLoad);
    beforeLoad = nullptr;
    action();
  }
  const long long available = static_cast<long long>(frames.size() / 2);
  const int target = numSamples / 2;
  int filled = offset;
  while (filled < target) {
    if (position < 0 || position >= available) {
      position = 0;
      return filled;
    }
    buffer[2 * filled] = frames[static_cast<size_t>(2 * position)];
    buffer[2 * filled + 1] = frames[static_cast<size_t>(2 * position + 1)];
    ++position;
    ++filled;
  }
  return filled;
}

std::vector<float> MemorySoundLoader::ramp(long long count, float scale) {
  std::vector<float> stereo(static_cast<size_t>(2 * count));
  for (long long i = 0; i < count; ++i) {
    stereo[static_cast<size_t>(2 * i)] = static_cast<float>(i + 1) / scale;
    stereo[static_cast<size_t>(2 * i + 1)] = -static_cast<float>(i + 1) / scale;
  }
  return stereo;
}
