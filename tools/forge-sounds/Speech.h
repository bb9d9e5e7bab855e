#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Take.h"

// The spoken passages (their texts from the game's own table, so that the
// captions show the words spoken) and the voice that speaks them.
class Speech {
 public:
  struct Passage {
    std::string name;
    std::string text;
    float shortestSeconds;
    float longestSeconds;
  };

  // The introduction, then the passages of the eight worlds in order.
  static const std::vector<Passage> &passages();

  // Speaks the text with Festival's HTS voice and places it in a small room:
  // a gentle lead-in, the words, and the room's tail fading to silence.
  // Nothing when Festival cannot be run or gives no sound.
  static std::optional<Take> speak(const std::string &text);

  // Exposed for tests: the samples of a 16-bit mono WAV (a data chunk whose
  // size field is a placeholder runs to the end), and a change of sample
  // rate that keeps the band below both rates' Nyquist frequencies.
  static std::vector<float> parseWav(const std::string &bytes, int &rate);
  static std::vector<float> resample(const std::vector<float> &in, int fromRate, int toRate);

 private:
  static std::vector<float> runVoice(const std::string &text, int &rate);
};
