#pragma once

#include <string>
#include <vector>

// Small Ogg Vorbis files made at test time with libvorbisenc, and a
// reference decoder over libvorbisfile, so that tests do not depend on the
// game's sound files. Samples are interleaved floats, `channels` per frame.
class OggTestFile {
 public:
  // Encodes the samples (any length, zero included) as one logical stream.
  // False when the encoder refuses the format or the file cannot be written.
  static bool write(const std::string &path, const std::vector<float> &samples, int channels, long rate,
                    float quality = 0.4f);

  // frames x channels samples: channel c is a sine of frequency x (c + 1).
  static std::vector<float> sine(long frames, int channels, long rate, float frequency, float amplitude);

  // Decodes the whole first logical stream, reading on past damaged pages;
  // empty when the file cannot be opened. channels and rate receive the file's values when not null.
  static std::vector<float> decode(const std::string &path, int *channels = nullptr, long *rate = nullptr);
};
