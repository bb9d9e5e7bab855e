#include "Textures.h"

#include <cmath>

#include "Biquad.h"
#include "ForgeRandom.h"
#include "PeakLimiter.h"
#include "Reverb.h"
#include "Take.h"
#include "Voices.h"

namespace {

const int bars = 8;
const double pi = 3.141592653589793;

struct Stroke {
  double start;
  float length;
  float ridgesPerSecond;
  float gain;
};

// A stick drawn over ridges: one sharp tick per ridge passed, faster in the
// middle of the stroke, with the hiss of wood rubbing on wood underneath.
void scrape(Take &excitation, ForgeRandom &random, const Stroke &stroke, float pan) {
  const long start = Take::framesOf(stroke.start);
  const long frames = Take::framesOf(stroke.length);
  double ridge = 0.0;
  for (long n = 0; n < frames; ++n) {
    const double x = static_cast<double>(n) / static_cast<double>(frames);
    const float speed = static_cast<float>(std::sqrt(std::sin(pi * x)));
    excitation.addPanned(start + n, stroke.gain * 0.05f * speed * random.bipolar(), pan);
    ridge += stroke.ridgesPerSecond * (0.3 + 0.7 * speed) / Take::rate;
    if (ridge >= 1.0) {
      ridge -= 1.0;
      const float tick = stroke.gain * speed * random.between(0.6f, 1.0f);
      excitation.addPanned(start + n, tick * 0.5f, pan);
      excitation.addPanned(start + n + 1, tick, pan);
      excitation.addPanned(start + n + 2, tick * -0.6f, pan);
    }
  }
}

}  // namespace

Take forgeScraper() {
  ForgeRandom random(0x5C4A9E);
  Take excitation(Take::framesOf(bars), true);
  for (int bar = 0; bar < bars; ++bar) {
    // A long stroke away on the beat, two short ones back; every fourth bar
    // a single long rasp instead.
    if (bar % 4 == 3) {
      scrape(excitation, random, {bar + 0.0, 0.8f, 70.0f, 1.0f}, 0.45f);
    } else {
      scrape(excitation, random, {bar + 0.0, 0.42f, 60.0f, 1.0f}, 0.45f);
      scrape(excitation, random, {bar + 0.5, 0.17f, 85.0f, 0.7f}, 0.58f);
      scrape(excitation, random, {bar + 0.75, 0.17f, 85.0f, 0.75f}, 0.55f);
    }
  }
  Biquad::lowPass(4500.0f, 0.7f).applyTo(excitation);
  // The gourd's hollow body colours every tick.
  Take take(excitation.getFrames(), true);
  const float resonances[][3] = {
      {1150.0f, 6.0f, 1.0f}, {2300.0f, 5.0f, 1.0f}, {3650.0f, 4.0f, 0.5f}, {5400.0f, 3.0f, 0.2f}};
  for (const auto &resonance : resonances) {
    Take band = excitation;
    Biquad::bandPass(resonance[0], resonance[1]).applyTo(band);
    take.mix(band, resonance[2]);
  }
  Take edge = excitation;
  Biquad::highPass(2000.0f, 0.7f).applyTo(edge);
  take.mix(edge, 0.05f);
  Reverb(0.5f, 0.7f, 0.5f).applyTo(take, 0.12f, 0.006f);
  PeakLimiter::apply(take, 6.0f, 0.001f);
  return take;
}

Take forgeRainStick() {
  ForgeRandom random(0x4A1257);
  Take take(Take::framesOf(bars), true);
  const float cascadeLength = 1.9f;
  for (int cascade = 0; cascade < bars / 2; ++cascade) {
    const double start = cascade * 2.0;
    // The stick is turned over each time, so the pebbles run the other way.
    const bool leftToRight = cascade % 2 == 0;
    double t = 0.0;
    while (t < cascadeLength) {
      const float x = static_cast<float>(t / cascadeLength);
      // Quick swell as the first pebbles fall, a long thinning trickle.
      const float density = std::min(1.0f, x / 0.12f) * std::exp(-2.2f * std::max(0.0f, x - 0.12f));
      const float rate = 40.0f + 900.0f * density;
      t += -std::log(1.0f - random.unit()) / rate;
      const float frequency = 2500.0f * std::pow(3.4f, random.unit());
      const float pan =
          std::min(1.0f, std::max(0.0f, (leftToRight ? x : 1.0f - x) * 0.6f + 0.2f + random.between(-0.12f, 0.12f)));
      const float gain = (0.15f + 0.85f * density) * random.between(0.2f, 1.0f);
      strikeModes(take, {start + t, frequency, gain * 0.5f, pan}, {{1.0f, 1.0f, random.between(0.004f, 0.012f)}},
                  0.0002f);
    }
  }
  // A trace of the hollow tube, then a small room.
  Take tube = take;
  Biquad::bandPass(1700.0f, 3.0f).applyTo(tube);
  take.mix(tube, 0.6f);
  Biquad::highPass(500.0f, 0.7f).applyTo(take);
  Reverb(0.7f, 0.75f, 0.3f).applyTo(take, 0.25f, 0.01f);
  PeakLimiter::apply(take, 4.0f, 0.001f);
  return take;
}
