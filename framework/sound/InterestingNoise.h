#pragma once

#include "base/Random.h"

#include <atomic>

// The game's noise bed: white noise through a slowly wandering one-pole
// low-pass, plus now and then a slow swell of a resonant, saturated band of
// noise. It fades in once over 100000 frames and sinks to half level while
// the sounder asks it to (ducking, 5000 frames either way). Constants are per
// frame; the filter formulas assume 44100 Hz whatever the device runs at.
// Every random draw comes from one generator, the shared one unless given:
// the same seed gives the same noise.
class InterestingNoise {
 public:
  explicit InterestingNoise(Random &random = Random::getGlobal());

  // Any thread: the user level.
  void setLevel(float level) { this->level.store(level, std::memory_order_relaxed); }
  // Audio thread: duck (true) or recover (false).
  void setAttenuate(bool attenuate) { this->attenuate = attenuate; }
  // Audio thread: adds numSamples frames of noise, the same value left and
  // right, into the interleaved stereo output. No allocation.
  void getAudio(float *output, int numSamples);

  // Audio thread (and tests): the envelopes.
  float getAttenuation() const { return attenuation; }
  float getStartFade() const { return startFade; }
  bool isSwelling() const { return swellRate != 0.0f; }

  // tanh within 1e-6 of tanhf for every float (tanhf itself costs more than
  // the rest of a frame); NaN stays NaN.
  static float fastTanh(float x);

 private:
  void addFrames(float *output, int frames, float userLevel);
  void newBlock();

  Random &random;
  float startFade = 0.0f;
  bool attenuate = false;
  float attenuation = 1.0f;
  std::atomic<float> level{1.0f};
  float cutoff = 880.0f;
  float a0;
  // Stored negated.
  float b1;
  float lowState = 0.0f;
  float targetCutoff;
  float swellF = 0.0f;
  float swellFeedback = 0.0f;
  float swellBuf0 = 0.0f;
  float swellBuf1 = 0.0f;
  float swellLevel = 0.0f;
  // Change per frame; 0 means no swell.
  float swellRate = 0.0f;
};
