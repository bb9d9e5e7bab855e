#include "support/OggTestFile.h"

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool writePages(ogg_stream_state &stream, FILE *file, bool flush) {
  ogg_page page;
  while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
    if (std::fwrite(page.header, 1, static_cast<size_t>(page.header_len), file) !=
            static_cast<size_t>(page.header_len) ||
        std::fwrite(page.body, 1, static_cast<size_t>(page.body_len), file) != static_cast<size_t>(page.body_len))
      return false;
  }
  return true;
}

}  // namespace

bool OggTestFile::write(const std::string &path, const std::vector<float> &samples, int channels, long rate,
                        float quality) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (channels < 1 || vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
    vorbis_info_clear(&info);
    return false;
  }
  FILE *file = std::fopen(path.c_str(), "wb");
  if (!file) {
    vorbis_info_clear(&info);
    return false;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, std::rand());

  ogg_packet header, commentHeader, codeHeader;
  vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &commentHeader);
  ogg_stream_packetin(&stream, &codeHeader);
  bool ok = writePages(stream, file, true);

  const long frames = static_cast<long>(samples.size()) / channels;
  long done = 0;
  bool ended = false;
  while (ok && !ended) {
    const long count = std::min(1024L, frames - done);
    if (count > 0) {
      float **buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
      for (long i = 0; i < count; ++i)
        for (int c = 0; c < channels; ++c) buffer[c][i] = samples[static_cast<size_t>((done + i) * channels + c)];
      vorbis_analysis_wrote(&dsp, static_cast<int>(count));
      done += count;
    } else {
      vorbis_analysis_wrote(&dsp, 0);
      ended = true;
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        ok = ok && writePages(stream, file, false);
      }
    }
  }
  ok = ok && writePages(stream, file, true);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return std::fclose(file) == 0 && ok;
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
