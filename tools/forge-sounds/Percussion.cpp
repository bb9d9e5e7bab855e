#include "Percussion.h"

#include <cmath>

#include "Biquad.h"
#include "ForgeRandom.h"
#include "PeakLimiter.h"
#include "Reverb.h"
#include "Scale.h"
#include "Take.h"
#include "Voices.h"

namespace {

const int bars = 8;
const double step = 1.0 / 16.0;

// Ratios of an ideal circular membrane's first modes.
const float membrane[] = {1.0f, 1.594f, 2.136f, 2.296f, 2.653f, 2.918f, 3.156f, 3.501f};

}  // namespace

Take forgeClackyThing() {
  ForgeRandom random(0xC1AC4711);
  Take take(Take::framesOf(bars), true);
  // A hollow wooden block and a pair of hard sticks: few modes, quick decays.
  const std::vector<Mode> block = {{1.0f, 1.0f, 0.09f}, {2.57f, 0.4f, 0.045f}, {4.23f, 0.2f, 0.02f}};
  const std::vector<Mode> stick = {{1.0f, 1.0f, 0.05f}, {2.76f, 0.35f, 0.03f}, {5.40f, 0.15f, 0.012f}};
  const Biquad contact = Biquad::bandPass(2600.0f, 0.9f);
  const int clave[] = {0, 3, 6, 10, 12};
  for (int bar = 0; bar < bars; ++bar) {
    for (int s = 0; s < 16; ++s) {
      bool onClave = false;
      for (int c : clave) onClave = onClave || c == s;
      const bool clack = onClave ? random.chance(0.85f) : false;
      const bool click = !onClave && random.chance(0.22f);
      if (!clack && !click) continue;
      // Loose: played by hand, a few milliseconds either side of the grid.
      const double time = bar + s * step + random.between(-0.007f, 0.007f);
      const float pan = random.between(0.3f, 0.7f);
      if (clack) {
        const float pitch = Scale::degree(5 + random.below(3));
        const float gain = (s == 0 ? 1.0f : 0.75f) * random.between(0.8f, 1.0f);
        strikeModes(take, {time, pitch, gain, pan}, block, 0.0006f);
        noiseBurst(take, random, time, 0.006f, contact, gain * 0.5f, pan);
      } else {
        const float pitch = Scale::degree(10 + random.below(3));
        const float gain = random.between(0.25f, 0.5f);
        strikeModes(take, {time, pitch, gain, pan}, stick, 0.0004f);
        noiseBurst(take, random, time, 0.004f, contact, gain * 0.6f, pan);
      }
    }
  }
  Biquad::highPass(120.0f, 0.7f).applyTo(take);
  PeakLimiter::apply(take, 4.0f, 0.001f);
  return take;
}

Take forgeHandDrum() {
  ForgeRandom random(0x4A0D0D);
  Take take(Take::framesOf(bars), true);
  std::vector<Mode> bass, tone;
  const float bassGains[] = {1.0f, 0.45f, 0.25f, 0.2f, 0.12f, 0.08f, 0.05f, 0.04f};
  const float toneGains[] = {0.7f, 1.0f, 0.6f, 0.5f, 0.35f, 0.25f, 0.15f, 0.1f};
  for (int m = 0; m < 8; ++m) {
    bass.push_back({membrane[m], bassGains[m], 0.5f / (1.0f + m * 0.6f)});
    tone.push_back({membrane[m], toneGains[m], 0.3f / (1.0f + m * 0.4f)});
  }
  const std::vector<Mode> ghost = {{1.0f, 1.0f, 0.06f}, {1.594f, 0.6f, 0.04f}, {2.136f, 0.4f, 0.03f}};
  const Biquad skin = Biquad::bandPass(900.0f, 1.2f);
  // D: bass in the middle of the skin, T: open tone at the rim, g: ghost.
  const char *groove = "D..gT.g.D.TgT.g.";
  const char *fill = "D..gT.g.D.TgTTgT";
  for (int bar = 0; bar < bars; ++bar) {
    const char *pattern = (bar % 4 == 3) ? fill : groove;
    for (int s = 0; s < 16; ++s) {
      const double time = bar + s * step + random.between(-0.004f, 0.004f);
      const float feel = random.between(0.85f, 1.0f);
      switch (pattern[s]) {
        case 'D':
          strikeModes(take, {time, Scale::degree(-10), (s == 0 ? 1.0f : 0.75f) * feel, 0.47f}, bass, 0.004f, 0.12f,
                      0.03f);
          break;
        case 'T': strikeModes(take, {time, Scale::degree(-2), 0.5f * feel, 0.56f}, tone, 0.0025f, 0.05f, 0.02f); break;
        case 'g':
          if (random.chance(0.8f)) {
            strikeModes(take, {time, Scale::degree(2), 0.12f * feel, random.between(0.4f, 0.6f)}, ghost, 0.002f);
            noiseBurst(take, random, time, 0.025f, skin, 0.18f * feel, 0.5f);
          }
          break;
        default: break;
      }
    }
  }
  // Soft hands: nothing bright.
  Biquad::lowPass(2800.0f, 0.7f).applyTo(take);
  Biquad::highPass(45.0f, 0.7f).applyTo(take);
  Reverb(0.6f, 0.72f, 0.4f).applyTo(take, 0.18f, 0.008f);
  return take;
}

Take forgeDanglyDrumThing() {
  ForgeRandom random(0xDA9617);
  Take take(Take::framesOf(bars), true);
  // Tuned drums whose loaded skins ring nearly harmonically.
  const std::vector<Mode> drum = {
      {1.0f, 1.0f, 1.3f}, {1.59f, 0.18f, 0.35f}, {2.0f, 0.5f, 0.8f}, {2.98f, 0.22f, 0.45f}, {4.02f, 0.08f, 0.25f}};
  const int tuning[] = {-3, -2, -1, 0, 1};  // G3 A3 C4 D4 F4
  const int motif[] = {0, 2, 1, 3, 0, 4, 2, 1};
  for (int bar = 0; bar < bars; ++bar) {
    const int steps[] = {0, 3, 6};
    for (int i = 0; i < 3; ++i) {
      const int s = steps[i];
      const int drumIndex = i == 0 ? motif[bar] : random.below(5);
      const double time = bar + s * 0.125 + random.between(-0.005f, 0.005f);
      // Each drum swings on its string: its place in the stereo picture
      // follows a slow pendulum that comes round within the loop.
      const float swing =
          0.5f + 0.3f * static_cast<float>(std::sin(6.2831853 * time * (drumIndex + 1) / bars + drumIndex * 1.1));
      const float gain = (i == 0 ? 1.0f : 0.7f) * random.between(0.8f, 1.0f);
      strikeModes(take, {time, Scale::degree(tuning[drumIndex]), gain, swing}, drum, 0.005f, 0.03f, 0.08f);
      // Now and then the beater bounces back for a quiet second stroke.
      if (random.chance(0.3f))
        strikeModes(take, {time + 0.0625, Scale::degree(tuning[drumIndex]), gain * 0.35f, swing}, drum, 0.005f, 0.02f,
                    0.08f);
    }
  }
  Biquad::highPass(60.0f, 0.7f).applyTo(take);
  Reverb(0.9f, 0.8f, 0.35f).applyTo(take, 0.3f, 0.015f);
  return take;
}
