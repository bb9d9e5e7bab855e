#include "support/DecodedOgg.h"

#include "base/FilePath.h"
#include "framework/sound/StreamingSound.h"
#include "framework/sound/VorbisfileLoader.h"

#include <algorithm>
#include <cmath>

boost::shared_ptr<VorbisfileLoader> DecodedOgg::open(const FilePath &path) {
  return boost::shared_ptr<VorbisfileLoader>(new VorbisfileLoader(path));
}

DecodedOgg::DecodedOgg(const FilePath &path) {
  const boost::shared_ptr<VorbisfileLoader> loader = open(path);
  opened = loader->isOpen();
  channels = loader->getNumChannels();
  rate = loader->getSamplerate();
  fileLength = loader->getFileLength();
  if (!opened) return;

  const int chunk = StreamingSound::BufferSize;
  std::vector<float> buffer(2 * static_cast<size_t>(chunk));
  long long position = 0;
  // A decoder that delivers beyond the reported length is cut off one chunk
  // later, so that the comparison of lengths shows it.
  while (getFrames() <= fileLength) {
    const int frames = loader->loadChunk(buffer.data(), position, 2 * chunk, 0);
    samples.insert(samples.end(), buffer.begin(), buffer.begin() + 2 * frames);
    if (frames < chunk) break;
  }
}

float DecodedOgg::peak() const {
  float result = 0.0f;
  for (float s : samples) result = std::max(result, std::fabs(s));
  return result;
}
