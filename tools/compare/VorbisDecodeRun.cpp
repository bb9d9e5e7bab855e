// Decodes whole Ogg Vorbis files to floats and throws them away, either
//   ours  through VorbisfileLoader::loadChunk, in the streamed slots' chunks
//   bare  through a plain ov_read_float loop
// Prints a checksum of the decoded samples so that nothing is optimised away,
// and the frame count.

#include "base/FilePath.h"
#include "base/UTF8File.h"
#include "framework/sound/StreamingSound.h"
#include "framework/sound/VorbisfileLoader.h"

#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Sum {
  long long frames = 0;
  double checksum = 0.0;
};

bool decodeOurs(const char *file, Sum &sum) {
  std::wstring path;
  UTF8File::charToWstring(file, path);
  VorbisfileLoader loader{FilePath(path)};
  if (!loader.isOpen()) return false;
  constexpr int chunkFrames = StreamingSound::BufferSize;
  std::vector<float> buffer(2 * chunkFrames);
  long long position = 0;
  for (;;) {
    const int written = loader.loadChunk(buffer.data(), position, 2 * chunkFrames, 0);
    sum.frames += written;
    for (int i = 0; i < 2 * written; i += 997) sum.checksum += buffer[static_cast<size_t>(i)];
    if (written < chunkFrames) return true;
  }
}

bool decodeBare(const char *file, Sum &sum) {
  OggVorbis_File vf;
  if (ov_fopen(file, &vf) != 0) return false;
  const int channels = ov_info(&vf, -1)->channels;
  int section = 0;
  for (;;) {
    float **pcm = nullptr;
    const long frames = ov_read_float(&vf, &pcm, 4096, &section);
    if (frames == OV_HOLE) continue;
    if (frames <= 0) break;
    sum.frames += frames;
    for (long i = 0; i < frames; i += 997) sum.checksum += pcm[0][i] + pcm[channels - 1][i];
  }
  ov_clear(&vf);
  return true;
}

}  // namespace

int main(int argc, char *argv[]) {
  const std::string how = argc > 1 ? argv[1] : "";
  if (argc < 3 || (how != "ours" && how != "bare")) {
    std::fprintf(stderr, "usage: %s ours|bare FILE...\n", argv[0]);
    return 2;
  }
  Sum sum;
  for (int i = 2; i < argc; ++i) {
    if (!(how == "ours" ? decodeOurs(argv[i], sum) : decodeBare(argv[i], sum))) {
      std::fprintf(stderr, "%s: cannot decode %s\n", argv[0], argv[i]);
      return 1;
    }
  }
  std::printf("frames %lld checksum %.6f\n", sum.frames, sum.checksum);
  return 0;
}
