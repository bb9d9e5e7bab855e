#pragma once

#include <string>

class Take;

// Encodes a take as a two-channel, 44100 Hz Ogg Vorbis file. The stream's
// serial number is fixed by the caller, so the same take gives the same bytes.
class OggWriter {
 public:
  // quality: Vorbis VBR quality, -0.1 … 1.0 (0.4 is the usual "q4").
  static bool write(const std::string &path, const Take &take, const std::string &title, int serial, float quality);
};
