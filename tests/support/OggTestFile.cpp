#include "support/OggTestFile.h"

#include "tools/forge-sounds/OggWriter.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

bool OggTestFile::write(const std::string &path, const std::vector<float> &samples, int channels, long rate,
                        float quality) {
  if (channels < 1) return false;
  return OggWriter::write(path, samples.data(), static_cast<long>(samples.size()) / channels, channels, rate, quality,
                          std::rand());
}

std::vector<float> OggTestFile::sine(long frames, int channels, long rate, float frequency, float amplitude) {
  std::vector<float> samples(static_cast<size_t>(frames * channels));
  for (long i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      samples[static_cast<size_t>(i * channels + c)] =
          amplitude * std::sin(6.2831853f * frequency * static_cast<float>(c + 1) * static_cast<float>(i) / rate);
  return samples;
}

std::vector<float> OggTestFile::decode(const std::string &path, int *channels, long *rate) {
  std::vector<float> samples;
  OggVorbis_File file;
  if (ov_fopen(path.c_str(), &file) != 0) return samples;
  const vorbis_info *info = ov_info(&file, 0);
  if (channels) *channels = info->channels;
  if (rate) *rate = info->rate;
  for (;;) {
    float **pcm = nullptr;
    int bitstream = 0;
    const long frames = ov_read_float(&file, &pcm, 4096, &bitstream);
    // A damaged page is a hole in the stream; the decoder reads on after it.
    if (frames == OV_HOLE) continue;
    if (frames <= 0 || bitstream > 0) break;
    for (long i = 0; i < frames; ++i)
      for (int c = 0; c < info->channels; ++c) samples.push_back(pcm[c][i]);
  }
  ov_clear(&file);
  return samples;
}
