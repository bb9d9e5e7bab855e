#pragma once

#include <string>

// The sound as SDL's disk audio driver records it: raw signed 16-bit
// little-endian interleaved samples, from the moment audio starts, written
// in real time as the device plays.
class DiskAudio {
 public:
  // The file the driver writes when SDL_AUDIODRIVER is "disk"; empty otherwise.
  static std::string capturePath();
  // Frames recorded so far (the file's length); -1 when it cannot be read.
  static long framesRecorded(const std::string &rawPath, int channels);
  // The raw recording in a RIFF WAVE file. False, with a message, on failure.
  static bool writeWav(const std::string &rawPath, const std::string &wavPath, int sampleRate, int channels);
};
