#include "Tones.h"

#include <cmath>

#include "Biquad.h"
#include "ForgeRandom.h"
#include "Reverb.h"
#include "Scale.h"
#include "Take.h"
#include "Voices.h"

namespace {

const double twoPi = 6.283185307179586;

// A sine of a whole number of cycles per loop, with its own gain and pan,
// summed into the take sample by sample.
struct Partial {
  float frequency;
  float gain;
  float pan;
  float phase;
};

}  // namespace

Take forgeFingerBell() {
  ForgeRandom random(0xF1B3E1);
  const int bars = 8;
  Take take(Take::framesOf(bars), true);
  // A small cup bell's inharmonic partials; each cast a little unevenly, so
  // every partial is a close pair that shimmers.
  const float ratios[] = {1.0f, 2.32f, 4.25f, 6.63f, 9.38f};
  const float gains[] = {1.0f, 0.55f, 0.3f, 0.16f, 0.08f};
  const float decays[] = {2.8f, 1.5f, 0.8f, 0.5f, 0.3f};
  std::vector<Mode> bell;
  for (int p = 0; p < 5; ++p) {
    bell.push_back({ratios[p], gains[p], decays[p]});
    bell.push_back({ratios[p] * 1.0035f, gains[p] * 0.5f, decays[p] * 0.9f});
  }
  const int melody[] = {10, 12, 11, 13, 10, 14, 12, 11};
  for (int bar = 0; bar < bars; ++bar) {
    const float pan = bar % 2 == 0 ? 0.4f : 0.6f;
    strikeModes(take, {bar + 0.0, Scale::degree(melody[bar]), 1.0f, pan}, bell, 0.0015f);
    // The two bells of a pair touch again, lightly, now and then.
    if (random.chance(0.6f)) {
      const double time = bar + (random.chance(0.5f) ? 0.5 : 0.625);
      strikeModes(take,
                  {time, Scale::degree(melody[bar] + random.below(3) - 1), random.between(0.3f, 0.5f), 1.0f - pan},
                  bell, 0.0015f);
    }
  }
  Biquad::highPass(400.0f, 0.7f).applyTo(take);
  Reverb(1.0f, 0.82f, 0.2f).applyTo(take, 0.3f, 0.02f);
  return take;
}

Take forgeSingingBowl() {
  ForgeRandom random(0xB0771);
  const int bars = 16;
  const float period = static_cast<float>(bars);
  Take take(Take::framesOf(bars), true);
  const float fundamental = Scale::degree(3);
  const float ratios[] = {1.0f, 2.76f, 5.12f, 8.0f};
  const float gains[] = {1.0f, 0.6f, 0.22f, 0.08f};
  // The bowl is not quite round: each mode splits in two, and the pair beats.
  const float beats[] = {0.6875f, 1.4375f, 2.5f, 3.75f};
  const float decays[] = {9.0f, 5.0f, 3.0f, 1.6f};

  // Rubbed: the partials sound steadily, swelling as the stick goes round.
  std::vector<Partial> partials;
  for (int m = 0; m < 4; ++m) {
    const float centre = fundamental * ratios[m];
    for (int side = 0; side < 2; ++side) {
      const float frequency = Scale::periodic(centre + (side == 0 ? -0.5f : 0.5f) * beats[m], period);
      partials.push_back({frequency, gains[m] * 0.5f, side == 0 ? 0.38f : 0.62f, random.between(0.0f, 6.28f)});
    }
  }
  for (long n = 0; n < take.getFrames(); ++n) {
    const double t = static_cast<double>(n) / Take::rate;
    const float swell = 0.7f + 0.2f * static_cast<float>(std::sin(twoPi * t / period)) +
                        0.1f * static_cast<float>(std::sin(twoPi * 3.0 * t / period + 1.0));
    for (const Partial &p : partials)
      take.addPanned(n, 0.35f * swell * p.gain * static_cast<float>(std::sin(twoPi * p.frequency * t + p.phase)),
                     p.pan);
  }

  // Struck twice in the loop with a soft mallet; the strokes ring round the seam.
  std::vector<Mode> struck;
  for (int m = 0; m < 4; ++m) {
    const float half = 0.5f * beats[m] / (fundamental * ratios[m]);
    struck.push_back({ratios[m] * (1.0f - half), gains[m] * 0.5f, decays[m]});
    struck.push_back({ratios[m] * (1.0f + half), gains[m] * 0.5f, decays[m]});
  }
  strikeModes(take, {0.0, fundamental, 0.9f, 0.45f}, struck, 0.01f);
  strikeModes(take, {8.0, fundamental, 0.7f, 0.55f}, struck, 0.01f);
  Reverb(1.1f, 0.85f, 0.4f).applyTo(take, 0.2f, 0.02f);
  return take;
}

Take forgeDrone() {
  ForgeRandom random(0xD4011E);
  const int bars = 16;
  const float period = static_cast<float>(bars);
  Take take(Take::framesOf(bars), true);
  // D, A and D an octave up; each voice doubled an eighth of a hertz sharp
  // so the two slowly drift through each other.
  const int voices[] = {-10, -7, -5};
  std::vector<Partial> partials;
  std::vector<int> harmonics;
  for (int v = 0; v < 3; ++v) {
    const float root = Scale::degree(voices[v]);
    for (int copy = 0; copy < 2; ++copy) {
      for (int h = 1; root * h < 2500.0f; ++h) {
        const float frequency = Scale::periodic(root * h + copy * 0.125f * h, period);
        partials.push_back(
            {frequency, (v == 0 ? 1.0f : 0.6f) / h, copy == 0 ? 0.4f : 0.6f, random.between(0.0f, 6.28f)});
        harmonics.push_back(h);
      }
    }
  }
  std::vector<float> gains(partials.size());
  for (long n = 0; n < take.getFrames(); ++n) {
    const double t = static_cast<double>(n) / Take::rate;
    // A slow brightening and darkening, like a filter swept by hand.
    if (n % 64 == 0) {
      const float bright = 0.5f + 0.5f * static_cast<float>(std::sin(twoPi * t / period));
      for (size_t i = 0; i < partials.size(); ++i)
        gains[i] = partials[i].gain * std::exp(-static_cast<float>(harmonics[i]) / (2.0f + 8.0f * bright));
    }
    for (size_t i = 0; i < partials.size(); ++i)
      take.addPanned(
          n, 0.2f * gains[i] * static_cast<float>(std::sin(twoPi * partials[i].frequency * t + partials[i].phase)),
          partials[i].pan);
  }
  return take;
}
