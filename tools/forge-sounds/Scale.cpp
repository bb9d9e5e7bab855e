#include "Scale.h"

#include <cmath>

float Scale::degree(int degree) {
  static const int steps[] = {0, 3, 5, 7, 10};
  const int octave = degree >= 0 ? degree / 5 : -((4 - degree) / 5);
  const int step = degree - octave * 5;
  return midi(static_cast<float>(62 + octave * 12 + steps[step]));
}

float Scale::midi(float note) { return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f); }

float Scale::periodic(float frequency, float periodSeconds) {
  return std::round(frequency * periodSeconds) / periodSeconds;
}
