#include "sound/VorbisfileLoader.h"

#include "app/Assertion.h"

#include <vorbis/vorbisfile.h>

struct VorbisfileLoader::Decoder {
  // Zeroed, so that ov_clear is safe even when ov_fopen could not open the file.
  OggVorbis_File file = {};
};

VorbisfileLoader::Creator VorbisfileLoader::creator;

boost::shared_ptr<SoundFileLoader> VorbisfileLoader::Creator::createLoader(const FilePath &path) const {
  return boost::shared_ptr<SoundFileLoader>(new VorbisfileLoader(path));
}

VorbisfileLoader::VorbisfileLoader(const FilePath &path) : SoundFileLoader(path), path(path) {
  if (!path.exists()) return;
  decoder.reset(new Decoder());
  OggVorbis_File *file = &decoder->file;
  if (ov_fopen(path.getUtf8Path().c_str(), file) != 0 || ov_streams(file) < 1) return;
  const vorbis_info *info = ov_info(file, 0);
  const ogg_int64_t length = ov_pcm_total(file, 0);
  if (!info || length < 0) return;
  samplerate = static_cast<float>(info->rate);
  fileNumChannels = info->channels;
  fileLength = length;
  open = true;
}

VorbisfileLoader::~VorbisfileLoader() {
  if (decoder) ov_clear(&decoder->file);
}

// Every frame fills one stereo frame of the buffer: a one-channel file's
// signal goes into both floats, channels beyond the second are dropped.
// The chunk's frame count comes from the buffer, whatever the file's layout,
// so nothing is written past numSamples floats.
int VorbisfileLoader::loadChunk(float *buffer, long long &position, int numSamples, int offset) {
  MW_ASSERT(fileNumChannels > 0);
  const int target = numSamples / 2;
  if (!open) return offset;
  OggVorbis_File *file = &decoder->file;
  // Streaming reads on from where the last chunk ended and needs no seek; a
  // position the decoder cannot reach counts as the end of the file.
  if (ov_pcm_tell(file) != position && ov_pcm_seek(file, position) != 0) {
    position = 0;
    return offset;
  }
  int filled = offset;
  while (filled < target) {
    float **pcm = nullptr;
    int bitstream = 0;
    const long frames = ov_read_float(file, &pcm, target - filled, &bitstream);
    if (frames <= 0 || bitstream > 0) {
      position = 0;
      return filled;
    }
    const float *left = pcm[0];
    const float *right = fileNumChannels > 1 ? pcm[1] : pcm[0];
    float *out = buffer + 2 * static_cast<long>(filled);
    for (long i = 0; i < frames; ++i) {
      out[2 * i] = left[i];
      out[2 * i + 1] = right[i];
    }
    position += frames;
    filled += static_cast<int>(frames);
  }
  return filled;
}
