#include "MusicPiece.h"

#include <cmath>

#include "Biquad.h"
#include "ForgeRandom.h"
#include "PeakLimiter.h"
#include "Reverb.h"
#include "Scale.h"
#include "Take.h"
#include "Voices.h"

namespace {

const int bars = 32;
const int barsPerChord = 4;

// Every chord is made of notes of the key only (MIDI numbers): pad voicing
// from low to high, and the bass note.
struct Chord {
  int notes[4];
  int bass;
};

const Chord progression[] = {
    {{50, 57, 60, 65}, 38},  // Dm7
    {{53, 60, 62, 69}, 41},  // F6
    {{55, 60, 62, 65}, 43},  // G7sus4
    {{50, 57, 60, 65}, 38},  // Dm7
    {{48, 55, 62, 69}, 36},  // C6/9 without the third
    {{53, 60, 62, 69}, 41},  // F6
    {{55, 60, 62, 65}, 43},  // G7sus4
    {{57, 62, 67, 72}, 45},  // A7sus4
};

struct Note {
  double bar;
  float length;
  int midi;
};

// The tune of the second half: bars 16 to 31.
const Note melody[] = {
    {16.0, 0.75f, 74}, {16.75, 0.25f, 77}, {17.0, 1.0f, 79}, {18.0, 0.5f, 81}, {18.5, 0.5f, 79}, {19.0, 1.0f, 74},
    {20.0, 0.75f, 72}, {20.75, 0.25f, 74}, {21.0, 1.0f, 77}, {22.0, 0.5f, 74}, {22.5, 0.5f, 72}, {23.0, 1.0f, 69},
    {24.0, 0.75f, 79}, {24.75, 0.25f, 81}, {25.0, 1.0f, 84}, {26.0, 0.5f, 81}, {26.5, 0.5f, 79}, {27.0, 1.0f, 77},
    {28.0, 0.75f, 74}, {28.75, 0.25f, 72}, {29.0, 1.0f, 69}, {30.0, 0.5f, 74}, {30.5, 0.5f, 72}, {31.0, 1.0f, 69},
};

const int arpeggios[][4] = {{0, 1, 2, 3}, {3, 2, 1, 2}, {1, 2, 3, 2}, {0, 2, 1, 3}};

float pitch(int midi) { return Scale::midi(static_cast<float>(midi)); }

}  // namespace

Take forgeMusic() {
  ForgeRandom random(0x3051C);
  Take take(Take::framesOf(bars), true);

  // Pad: one held chord every four bars, each fading into the next.
  Take pad(take.getFrames(), true);
  for (int c = 0; c < bars / barsPerChord; ++c)
    for (int v = 0; v < 4; ++v)
      heldTone(pad, c * barsPerChord, barsPerChord + 0.6f, pitch(progression[c].notes[v]), 8, 1.6f, 0.9f, 1.0f, 0.09f,
               0.3f + 0.13f * v);
  Biquad::lowPass(1600.0f, 0.7f).applyTo(pad);
  take.mix(pad, 1.0f);

  const std::vector<Mode> kick = {{1.0f, 1.0f, 0.35f}};
  const std::vector<Mode> bass = {{1.0f, 1.0f, 0.6f}, {2.0f, 0.35f, 0.4f}, {3.0f, 0.12f, 0.25f}};
  const std::vector<Mode> mallet = {{1.0f, 1.0f, 0.6f}, {3.93f, 0.3f, 0.15f}, {9.54f, 0.08f, 0.05f}};
  const Biquad beater = Biquad::bandPass(3000.0f, 0.8f);
  const Biquad bead = Biquad::highPass(5000.0f, 0.7f);
  for (int bar = 0; bar < bars; ++bar) {
    const Chord &chord = progression[bar / barsPerChord];
    const bool accent = bar % 2 == 0;
    // The downbeat: a soft kick, its beater, and the bass.
    strikeModes(take, {static_cast<double>(bar), 48.0f, accent ? 0.75f : 0.65f, 0.5f}, kick, 0.0015f, 1.6f, 0.035f);
    noiseBurst(take, random, bar, 0.008f, beater, accent ? 0.22f : 0.18f, 0.5f);
    strikeModes(take, {static_cast<double>(bar), pitch(chord.bass), 0.45f, 0.5f}, bass, 0.006f);
    if (accent) strikeModes(take, {static_cast<double>(bar), pitch(chord.notes[0] + 24), 0.22f, 0.62f}, mallet, 0.002f);
    if (bar >= 8) {
      strikeModes(take, {bar + 0.75, pitch(chord.bass + 12), 0.16f, 0.5f}, bass, 0.006f);
      const int *order = arpeggios[bar % 4];
      for (int e = 0; e < 4; ++e)
        strikeModes(
            take,
            {bar + e * 0.25, pitch(chord.notes[order[e]] + 12), e == 0 ? 0.16f : 0.12f, e % 2 == 0 ? 0.35f : 0.65f},
            mallet, 0.002f);
    }
    if (bar >= 4) {
      for (int e = 0; e < 8; ++e)
        noiseBurst(take, random, bar + e * 0.125 + random.between(0.0f, 0.004f), 0.04f, bead,
                   (e % 2 == 1 ? 0.07f : 0.04f) * random.between(0.8f, 1.0f), 0.6f);
    }
  }

  for (const Note &note : melody)
    heldTone(take, note.bar, note.length * 0.95f, pitch(note.midi), 4, 2.0f, 0.04f, 0.15f, 0.14f, 0.55f);

  Biquad::highPass(30.0f, 0.7f).applyTo(take);
  Reverb(1.0f, 0.8f, 0.35f).applyTo(take, 0.2f, 0.02f);
  PeakLimiter::apply(take, 2.0f, 0.004f);
  return take;
}
