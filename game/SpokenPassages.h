#pragma once

#include <string>

// The game's only words: what each spoken passage says, under its sound's
// name. The captions show these texts and the sound forge voices them, so
// the words on screen are the words spoken.
class SpokenPassages {
 public:
  struct Passage {
    const wchar_t *soundName;
    const wchar_t *text;
  };

  static constexpr int numPassages = 9;
  // The introduction, then the passages of the eight worlds in order.
  static const Passage passages[numPassages];

  // The index of the passage with that sound name, or -1. Any thread: no
  // allocation.
  static int indexOf(const std::wstring &soundName);
};
