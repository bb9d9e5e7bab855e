#pragma once

#include <string>

// Reads a written sound file back through the decoder and measures what a
// listener would: length, whole bars, peak, loudness and brightness.
class SoundReport {
 public:
  struct Figures {
    bool opened = false;
    long frames = 0;
    int channels = 0;
    long rate = 0;
    float peak = 0.0f;
    float rms = 0.0f;
    // Magnitude-weighted mean frequency of the spectrum, in Hz.
    float centroid = 0.0f;
  };

  static Figures measure(const std::string &path);
  static void printHeader();
  static void printLine(const std::string &name, const Figures &figures, long fileBytes);
};
