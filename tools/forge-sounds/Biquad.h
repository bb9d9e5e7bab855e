#pragma once

class Take;

// A second-order filter (the well-known cookbook designs), one channel.
class Biquad {
 public:
  static Biquad lowPass(float frequency, float q);
  static Biquad highPass(float frequency, float q);
  // Unit gain at the centre frequency.
  static Biquad bandPass(float frequency, float q);
  static Biquad highShelf(float frequency, float gainDb);

  float process(float in) {
    const float out = b0 * in + z1;
    z1 = b1 * in - a1 * out + z2;
    z2 = b2 * in - a2 * out;
    return out;
  }
  void reset() { z1 = z2 = 0.0f; }

  // Filters both channels of a take with copies of this filter. A looping
  // take is filtered as if it had always been looping, so its seam stays whole.
  void applyTo(Take &take) const;

 private:
  Biquad(float b0, float b1, float b2, float a0, float a1, float a2);

  float b0, b1, b2, a1, a2;
  float z1 = 0.0f, z2 = 0.0f;
};
