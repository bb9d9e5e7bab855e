#pragma once

#include <string>

class Take;

// Encodes Ogg Vorbis files with libvorbisenc. The stream's serial number is
// fixed by the caller, so the same samples give the same bytes.
class OggWriter {
 public:
  // Interleaved samples, `channels` per frame (any number of frames, zero
  // included), as one logical stream; a TITLE tag when title is not empty.
  // quality: Vorbis VBR quality, -0.1 … 1.0 (0.4 is the usual "q4"). False
  // when the encoder refuses the format or the file cannot be written.
  static bool write(const std::string &path, const float *samples, long frames, int channels, long rate,
                    float quality, int serial, const std::string &title = std::string());
  // A take as a two-channel, 44100 Hz file.
  static bool write(const std::string &path, const Take &take, const std::string &title, int serial, float quality);
};
