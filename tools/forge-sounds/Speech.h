#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Take.h"

// The spoken passages: their texts, and the voice that speaks them.
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

  // Speaks the text with espeak-ng and places it in a small room: a gentle
  // lead-in, the words, and the room's tail fading to silence. Nothing when
  // espeak-ng cannot be run or gives no sound.
  static std::optional<Take> speak(const std::string &text);

 private:
  static std::vector<float> runVoice(const std::string &text, int &rate);
};
