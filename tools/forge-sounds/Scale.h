#pragma once

// The one key of every pitched sound: D minor pentatonic (D F G A C).
class Scale {
 public:
  // Degree 0 is D4 (293.66 Hz); five degrees to the octave, negative below.
  static float degree(int degree);
  // Equal temperament from A4 = 440 Hz.
  static float midi(float note);
  // The nearest frequency with a whole number of cycles in `periodSeconds`,
  // so a tone sustained through a loop of that length meets itself at the seam.
  static float periodic(float frequency, float periodSeconds);
};
