// A sound file of arbitrary bytes, decoded as the sounder does: in chunks
// from the start, from the middle, and from past the end.
#include "FuzzScratch.h"

#include "base/UTF8File.h"
#include "framework/sound/VorbisfileLoader.h"

#include <vector>

namespace {

constexpr int chunkFloats = 4096;
// Enough for a few seconds: a header may claim hours.
constexpr int maxChunks = 64;

void decodeFrom(VorbisfileLoader &loader, long long position, std::vector<float> &buffer) {
  for (int chunk = 0; chunk < maxChunks; ++chunk) {
    const long long before = position;
    const int reached = loader.loadChunk(buffer.data(), position, chunkFloats, 0);
    if (reached < 0 || reached > chunkFloats / 2) fuzzFailure("loadChunk out of range");
    if (reached < chunkFloats / 2) {
      if (position != 0) fuzzFailure("position not rewound at the end");
      return;
    }
    if (position <= before) fuzzFailure("position did not advance");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string path = FuzzScratch::get().folder() + "/Sound.ogg";
  FuzzScratch::writeFile(path, data, size);
  std::wstring name;
  UTF8File::charToWstring(path, name);
  VorbisfileLoader loader{FilePath(name)};
  if (loader.getFileLength() < 0 || loader.getNumChannels() < 1 || !(loader.getSamplerate() > 0.0f))
    fuzzFailure("impossible format");
  std::vector<float> buffer(chunkFloats);
  decodeFrom(loader, 0, buffer);
  decodeFrom(loader, loader.getFileLength() / 2, buffer);
  decodeFrom(loader, loader.getFileLength() + 10, buffer);
  return 0;
}
