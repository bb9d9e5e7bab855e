#include "Voices.h"

#include <cmath>

#include "Biquad.h"
#include "ForgeRandom.h"
#include "Take.h"

namespace {

const double twoPi = 6.283185307179586;
// ln(1000): an amplitude falls by 60 dB when its exponent reaches this.
const float sixtyDb = 6.9077553f;

float riseOver(double t, float length) {
  if (length <= 0.0f || t >= length) return 1.0f;
  return 0.5f - 0.5f * static_cast<float>(std::cos(3.141592653589793 * t / length));
}

}  // namespace

void strikeModes(Take &take, const Hit &hit, const std::vector<Mode> &modes, float attack, float bend, float bendTime) {
  const long start = Take::framesOf(hit.time);
  for (const Mode &mode : modes) {
    const double frequency = hit.frequency * mode.ratio;
    if (frequency >= Take::rate * 0.45) continue;
    const long length = Take::framesOf(mode.decay * 1.2);
    double phase = 0.0;
    for (long n = 0; n < length; ++n) {
      const double t = static_cast<double>(n) / Take::rate;
      const double bent = frequency * (1.0 + bend * std::exp(-t / bendTime));
      const float envelope = std::exp(-sixtyDb * static_cast<float>(t) / mode.decay) * riseOver(t, attack);
      take.addPanned(start + n, hit.gain * mode.gain * envelope * static_cast<float>(std::sin(phase)), hit.pan);
      phase += twoPi * bent / Take::rate;
    }
  }
}

void noiseBurst(Take &take, ForgeRandom &random, double time, float decay, const Biquad &filter, float gain,
                float pan) {
  Biquad shaped = filter;
  shaped.reset();
  const long start = Take::framesOf(time);
  const long length = Take::framesOf(decay * 1.2);
  // Rise over a millisecond or a tenth of the decay: a burst must not click.
  const float attack = std::min(0.001f, decay * 0.1f);
  for (long n = 0; n < length; ++n) {
    const double t = static_cast<double>(n) / Take::rate;
    const float envelope = std::exp(-sixtyDb * static_cast<float>(t) / decay) * riseOver(t, attack);
    take.addPanned(start + n, gain * envelope * shaped.process(random.bipolar()), pan);
  }
}

void heldTone(Take &take, double time, float length, float frequency, int count, float tilt, float attack,
              float release, float gain, float pan) {
  const long start = Take::framesOf(time);
  const long frames = Take::framesOf(length);
  const long releaseStart = frames - Take::framesOf(release);
  for (int n = 1; n <= count; ++n) {
    const float partial = frequency * static_cast<float>(n);
    if (partial >= Take::rate * 0.45f) break;
    const float amplitude = gain / std::pow(static_cast<float>(n), tilt);
    // Each harmonic is a pair a fraction of a hertz apart: the pad breathes.
    for (int pair = 0; pair < 2; ++pair) {
      const double detuned = partial * (1.0 + (pair == 0 ? -0.0012 : 0.0012));
      const double offset = pair * 1.3 + n * 0.7;
      for (long i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / Take::rate;
        float envelope = riseOver(t, attack);
        if (i >= releaseStart) envelope *= 1.0f - riseOver(static_cast<double>(i - releaseStart) / Take::rate, release);
        take.addPanned(start + i,
                       0.5f * amplitude * envelope * static_cast<float>(std::sin(twoPi * detuned * t + offset)), pan);
      }
    }
  }
}
