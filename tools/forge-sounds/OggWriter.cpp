#include "OggWriter.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "Take.h"

namespace {

bool writePages(std::FILE *file, ogg_stream_state &stream, bool flush) {
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

bool OggWriter::write(const std::string &path, const float *samples, long frames, int channels, long rate,
                      float quality, int serial, const std::string &title) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (channels < 1 || frames < 0 || vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
    vorbis_info_clear(&info);
    return false;
  }
  std::FILE *file = std::fopen(path.c_str(), "wb");
  if (!file) {
    vorbis_info_clear(&info);
    return false;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  if (!title.empty()) {
    vorbis_comment_add_tag(&comment, "TITLE", title.c_str());
    vorbis_comment_add_tag(&comment, "ARTIST", "Murmel Worlds sound forge");
  }

  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, serial);

  ogg_packet identification, comments, codebooks;
  vorbis_analysis_headerout(&dsp, &comment, &identification, &comments, &codebooks);
  ogg_stream_packetin(&stream, &identification);
  ogg_stream_packetin(&stream, &comments);
  ogg_stream_packetin(&stream, &codebooks);
  // Audio starts on a fresh page, as decoders expect.
  bool ok = writePages(file, stream, true);

  const long chunk = 1024;
  long written = 0;
  bool ended = false;
  while (ok && !ended) {
    const long count = std::min(chunk, frames - written);
    if (count > 0) {
      float **buffers = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
      for (long i = 0; i < count; ++i)
        for (int c = 0; c < channels; ++c) buffers[c][i] = samples[(written + i) * channels + c];
      vorbis_analysis_wrote(&dsp, static_cast<int>(count));
      written += count;
    } else {
      vorbis_analysis_wrote(&dsp, 0);
      ended = true;
    }
    while (ok && vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (ok && vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        ok = writePages(file, stream, false);
      }
    }
  }
  ok = ok && writePages(file, stream, true);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return std::fclose(file) == 0 && ok;
}

bool OggWriter::write(const std::string &path, const Take &take, const std::string &title, int serial, float quality) {
  std::vector<float> interleaved(2 * static_cast<size_t>(take.getFrames()));
  for (long i = 0; i < take.getFrames(); ++i)
    for (int c = 0; c < 2; ++c) interleaved[2 * static_cast<size_t>(i) + c] = take.channel(c)[static_cast<size_t>(i)];
  return write(path, interleaved.data(), take.getFrames(), 2, Take::rate, quality, serial, title);
}
