#include "support/DecodedOgg.h"

#include <vorbis/vorbisfile.h>

#include <cmath>

DecodedOgg::DecodedOgg(const std::string &path) {
  OggVorbis_File file;
  if (ov_fopen(path.c_str(), &file) != 0) return;
  const vorbis_info *info = ov_info(&file, 0);
  open = info != nullptr;
  if (open) {
    channels = info->channels;
    rate = info->rate;
    fileLength = ov_pcm_total(&file, 0);
    float **pcm;
    int section = 0;
    long count;
    while ((count = ov_read_float(&file, &pcm, 4096, &section)) > 0 && section == 0) {
      for (long i = 0; i < count; ++i) {
        samples.push_back(pcm[0][i]);
        samples.push_back(pcm[channels > 1 ? 1 : 0][i]);
      }
    }
  }
  ov_clear(&file);
}

float DecodedOgg::peak() const {
  float result = 0.0f;
  for (float s : samples) result = std::max(result, std::fabs(s));
  return result;
}
