#pragma once

#include <vector>

class Biquad;
class ForgeRandom;
class Take;

// The building blocks of the forged instruments.

// One vibrating mode of a struck body: frequency ratio to the fundamental,
// gain, and the seconds it takes to fall by 60 dB.
struct Mode {
  float ratio;
  float gain;
  float decay;
};

// One stroke: when (seconds from the take's start), fundamental, gain, pan.
struct Hit {
  double time;
  float frequency;
  float gain;
  float pan;
};

// Modal synthesis: the modes ring from the hit, faded in over `attack`
// seconds (a soft mallet is slow, a hard stick fast). `bend` raises the pitch
// at the hit by that fraction, falling away over `bendTime` (a membrane
// struck hard is tighter at first).
void strikeModes(Take &take, const Hit &hit, const std::vector<Mode> &modes, float attack, float bend = 0.0f,
                 float bendTime = 0.05f);

// A burst of noise through `filter`, with a quick rise and an exponential
// fall to -60 dB over `decay` seconds.
void noiseBurst(Take &take, ForgeRandom &random, double time, float decay, const Biquad &filter, float gain, float pan);

// A held tone of harmonics 1…count (gain 1/n^tilt), slightly detuned in
// pairs, with raised-cosine attack and release inside `length` seconds.
void heldTone(Take &take, double time, float length, float frequency, int count, float tilt, float attack,
              float release, float gain, float pan);
