#include "framework/sound/VorbisfileLoader.h"

#include "framework/app/AppSettings.h"
#include "base/Assertion.h"
#include "base/UTF8File.h"

#include <vorbis/vorbisfile.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// One file channel's share of the left and of the right output.
struct ChannelGain {
  float left, right;
};

// Folds every channel into stereo, in Vorbis channel order: fronts to their
// side, surrounds at -3 dB into theirs, centres and the LFE at -3 dB into
// both. Layouts of more than eight channels are the file's own affair: the
// first two are taken as left and right and the others go into both.
std::vector<ChannelGain> downmixGains(int channels) {
  const float h = 0.70710678f;
  const ChannelGain left = {1.0f, 0.0f}, right = {0.0f, 1.0f}, both = {h, h};
  const ChannelGain leftSurround = {h, 0.0f}, rightSurround = {0.0f, h};
  switch (channels) {
    case 1: return {{1.0f, 1.0f}};
    case 2: return {left, right};
    case 3: return {left, both, right};
    case 4: return {left, right, leftSurround, rightSurround};
    case 5: return {left, both, right, leftSurround, rightSurround};
    case 6: return {left, both, right, leftSurround, rightSurround, both};
    case 7: return {left, both, right, leftSurround, rightSurround, both, both};
    case 8: return {left, both, right, leftSurround, rightSurround, leftSurround, rightSurround, both};
    default: {
      std::vector<ChannelGain> gains(static_cast<size_t>(channels), both);
      gains[0] = left;
      gains[1] = right;
      return gains;
    }
  }
}

const char *describe(long code) {
  switch (code) {
    case OV_EREAD: return "read error";
    case OV_EFAULT: return "decoder fault";
    case OV_EIMPL: return "uses a feature the decoder lacks";
    case OV_EINVAL: return "invalid data";
    case OV_ENOTVORBIS: return "not an Ogg Vorbis stream";
    case OV_EBADHEADER: return "damaged Vorbis header";
    case OV_EVERSION: return "unsupported Vorbis version";
    case OV_ENOTAUDIO: return "not audio";
    case OV_EBADPACKET: return "damaged packet";
    case OV_EBADLINK: return "damaged stream link";
    case OV_ENOSEEK: return "not seekable";
    default: return "decoding error";
  }
}

}  // namespace

struct VorbisfileLoader::Decoder {
  // Zeroed, so that ov_clear is safe even when ov_fopen could not open the file.
  OggVorbis_File file = {};
  std::vector<ChannelGain> gains;
};

VorbisfileLoader::Creator VorbisfileLoader::creator;

boost::shared_ptr<SoundFileLoader> VorbisfileLoader::Creator::createLoader(const FilePath &path) const {
  return boost::shared_ptr<SoundFileLoader>(new VorbisfileLoader(path));
}

VorbisfileLoader::VorbisfileLoader(const FilePath &path) : SoundFileLoader(path), path(path) {
  if (!path.exists()) {
    report("no such file");
    return;
  }
  decoder.reset(new Decoder());
  OggVorbis_File *file = &decoder->file;
  const int opened = ov_fopen(path.getUtf8Path().c_str(), file);
  if (opened != 0) {
    // -1 is the C library's failure to open the file, with its reason in errno.
    report(opened == -1 ? std::strerror(errno) : describe(opened));
    return;
  }
  if (ov_streams(file) < 1) {
    report("no audio stream");
    return;
  }
  const vorbis_info *info = ov_info(file, 0);
  const ogg_int64_t length = ov_pcm_total(file, 0);
  if (!info || length < 0) {
    report("length unknown");
    return;
  }
  samplerate = static_cast<float>(info->rate);
  fileNumChannels = info->channels;
  fileLength = length;
  decoder->gains = downmixGains(fileNumChannels);
  open = true;
}

VorbisfileLoader::~VorbisfileLoader() {
  if (decoder) ov_clear(&decoder->file);
}

void VorbisfileLoader::report(const char *reason) {
  if (reported) return;
  reported = true;
  std::string name;
  UTF8File::wstringToChar(AppSettings::applicationName, name);
  std::fprintf(stderr, "%s: cannot read sound file \"%s\": %s\n", name.c_str(), path.getUtf8Path().c_str(), reason);
}

// The chunk's frame count comes from the buffer, whatever the file's layout,
// so nothing is written past numSamples floats.
int VorbisfileLoader::loadChunk(float *buffer, long long &position, int numSamples, int offset) {
  MW_ASSERT(fileNumChannels > 0);
  const int target = numSamples / 2;
  // Nothing to read counts as the end, which rewinds as any end does.
  if (!open) {
    position = 0;
    return offset;
  }
  OggVorbis_File *file = &decoder->file;
  // Streaming reads on from where the last chunk ended and needs no seek; a
  // position the decoder cannot reach counts as the end of the file.
  if (ov_pcm_tell(file) != position && ov_pcm_seek(file, position) != 0) {
    position = 0;
    return offset;
  }
  int filled = offset;
  // Where in the file the last hole left the decoder.
  ogg_int64_t lastHole = -1;
  while (filled < target) {
    float **pcm = nullptr;
    int bitstream = 0;
    const long frames = ov_read_float(file, &pcm, target - filled, &bitstream);
    if (frames == OV_HOLE) {
      // A damaged or missing page: the decoder skips it and reads on. One
      // that stays where it was would report the same hole forever.
      const ogg_int64_t at = ov_raw_tell(file);
      if (at != lastHole) {
        lastHole = at;
        continue;
      }
      report("damaged beyond reading on");
    } else if (frames < 0) {
      report(describe(frames));
    }
    if (frames <= 0 || bitstream > 0) {
      position = 0;
      return filled;
    }
    writeStereo(pcm, frames, buffer + 2 * static_cast<long>(filled));
    filled += static_cast<int>(frames);
    // Past a hole the decoder's count runs ahead of the frames delivered;
    // following it spares the next chunk a seek back over the damage.
    const ogg_int64_t reached = ov_pcm_tell(file);
    position = reached >= 0 ? reached : position + frames;
  }
  return filled;
}

void VorbisfileLoader::writeStereo(float *const *pcm, long frames, float *out) const {
  if (fileNumChannels <= 2) {
    const float *left = pcm[0];
    const float *right = fileNumChannels > 1 ? pcm[1] : pcm[0];
    for (long i = 0; i < frames; ++i) {
      out[2 * i] = left[i];
      out[2 * i + 1] = right[i];
    }
    return;
  }
  const std::vector<ChannelGain> &gains = decoder->gains;
  for (long i = 0; i < frames; ++i) {
    float left = 0.0f, right = 0.0f;
    for (int channel = 0; channel < fileNumChannels; ++channel) {
      const float sample = pcm[channel][i];
      left += sample * gains[static_cast<size_t>(channel)].left;
      right += sample * gains[static_cast<size_t>(channel)].right;
    }
    out[2 * i] = left;
    out[2 * i + 1] = right;
  }
}
