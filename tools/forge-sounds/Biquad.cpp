#include "Biquad.h"

#include <cmath>

#include "Take.h"

namespace {

struct Design {
  float cosW;
  float alpha;
};

Design design(float frequency, float q) {
  const float w = 6.2831853f * frequency / Take::rate;
  return {std::cos(w), std::sin(w) / (2.0f * q)};
}

}  // namespace

Biquad::Biquad(float b0, float b1, float b2, float a0, float a1, float a2)
    : b0(b0 / a0), b1(b1 / a0), b2(b2 / a0), a1(a1 / a0), a2(a2 / a0) {}

Biquad Biquad::lowPass(float frequency, float q) {
  const Design d = design(frequency, q);
  return Biquad((1 - d.cosW) / 2, 1 - d.cosW, (1 - d.cosW) / 2, 1 + d.alpha, -2 * d.cosW, 1 - d.alpha);
}

Biquad Biquad::highPass(float frequency, float q) {
  const Design d = design(frequency, q);
  return Biquad((1 + d.cosW) / 2, -(1 + d.cosW), (1 + d.cosW) / 2, 1 + d.alpha, -2 * d.cosW, 1 - d.alpha);
}

Biquad Biquad::bandPass(float frequency, float q) {
  const Design d = design(frequency, q);
  return Biquad(d.alpha, 0, -d.alpha, 1 + d.alpha, -2 * d.cosW, 1 - d.alpha);
}

Biquad Biquad::highShelf(float frequency, float gainDb) {
  const float a = std::pow(10.0f, gainDb / 40.0f);
  const Design d = design(frequency, 0.7071f);
  const float root = 2 * std::sqrt(a) * d.alpha;
  return Biquad(a * ((a + 1) + (a - 1) * d.cosW + root), -2 * a * ((a - 1) + (a + 1) * d.cosW),
                a * ((a + 1) + (a - 1) * d.cosW - root), (a + 1) - (a - 1) * d.cosW + root,
                2 * ((a - 1) - (a + 1) * d.cosW), (a + 1) - (a - 1) * d.cosW - root);
}

void Biquad::applyTo(Take &take) const {
  for (int c = 0; c < 2; ++c) {
    Biquad filter = *this;
    filter.reset();
    std::vector<float> &samples = take.channel(c);
    // One silent pass over a loop brings the filter to the state it has when
    // the loop comes round again.
    if (take.isLooping())
      for (float s : samples) filter.process(s);
    for (float &s : samples) s = filter.process(s);
  }
}
