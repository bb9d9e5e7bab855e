#include "framework/sound/InterestingNoise.h"

#include "base/Random.h"
#include "framework/sound/Floats4.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Frames per pass: random draws are taken this many at a time, in one step of
// the shared generator, and the filters' outputs wait this long for the tanh.
constexpr int chunkFrames = 256;

typedef int32_t Ints4 __attribute__((vector_size(16)));

// tanh x = 1 - 2 / (e^2x + 1), with e^2x = 2^y split into 2^n * 2^f and 2^f
// the Taylor series of e^(f ln 2) to the sixth power (relative error below
// 2e-7 for f in [-0.5, 0.5]).
Floats4 tanhApproximation(Floats4 x) {
  // Beyond 9, tanh is 1 to within 6e-8; the bound also keeps 2^n a normal
  // float. NaN passes every step as NaN.
  const Floats4 bounded = x > 9.0f ? 9.0f : (x < -9.0f ? -9.0f : x);
  const Floats4 y = bounded * 2.8853900817779268f;
  const Ints4 n = __builtin_convertvector(y + (y >= 0.0f ? 0.5f : -0.5f), Ints4);
  const Floats4 scale = reinterpret_cast<Floats4>((n + 127) << 23);
  const Floats4 f = y - __builtin_convertvector(n, Floats4);
  const Floats4 f2 = f * f;
  const Floats4 low = 1.0f + f * 0.69314718f + f2 * (0.24022651f + f * 0.05550411f);
  const Floats4 high = 0.00961813f + f * 0.00133336f + f2 * 0.00015404f;
  const Floats4 e2x = (low + (f2 * f2) * high) * scale;
  const Floats4 result = 1.0f - 2.0f / (e2x + 1.0f);
  return x > 9.0f ? 1.0f : (x < -9.0f ? -1.0f : result);
}

// Ducked, the bed glides down to half its level; released, back up to full.
inline float stepDucking(float ducking, bool duck) {
  if (duck && ducking > 0.5f) return ducking - 0.0001f;
  if (!duck && ducking < 1.0f) return ducking + 0.0001f;
  return ducking;
}

// A swell rises to full, falls back, and rests at silence until the next starts.
inline void stepSwell(float &level, float &rate) {
  if (rate > 0.0f) {
    level += rate;
    if (level > 1.0f) rate = -rate;
  } else if (rate < 0.0f) {
    level += rate;
    if (level < 0.0f) {
      level = 0.0f;
      rate = 0.0f;
    }
  }
}

}  // namespace

InterestingNoise::InterestingNoise(Random &random) : random(random) {
  // e^(-2 pi 880 / 44100)
  const float e = expf(-0.12537876f);
  a0 = 1.0f - e;
  b1 = -e;
  targetCutoff = 220.0f + random.nextUnit() * 1680.0f;
}

float InterestingNoise::fastTanh(float x) { return tanhApproximation(Floats4{x, x, x, x})[0]; }

void InterestingNoise::getAudio(float *output, int numSamples) {
  // The user level is taken once per block.
  const float userLevel = level.load(std::memory_order_relaxed);
  for (int done = 0; done < numSamples; done += chunkFrames)
    addFrames(output + 2 * done, std::min(chunkFrames, numSamples - done), userLevel);
  newBlock();
}

// The filters and envelopes frame by frame into small buffers; the
// saturation and the sum four frames at a time from them, a few frames
// behind.
void InterestingNoise::addFrames(float *output, int frames, float userLevel) {
  alignas(16) float noise[chunkFrames];
  alignas(16) float swellIn[chunkFrames];
  alignas(16) float swellGain[chunkFrames];
  alignas(16) float gain[chunkFrames];
  random.nextSigned(noise, frames);

  // Saturates and sums four frames from the filters' outputs.
  const auto sumFour = [&](int i) {
    const Floats4 level = loadFloats4(swellGain + i);
    const Floats4 swell = level > 0.0f ? tanhApproximation(loadFloats4(swellIn + i)) * level : 0.0f;
    const Floats4 value = (loadFloats4(noise + i) + swell) * loadFloats4(gain + i);
    for (int lane = 0; lane < 4 && i + lane < frames; ++lane) {
      output[2 * (i + lane)] += value[lane];
      output[2 * (i + lane) + 1] += value[lane];
    }
  };
  int summed = 0;

  // The state is held in locals: the compiler cannot keep members in
  // registers while the loop writes through pointers.
  const float lowIn = a0, lowBack = b1, f = swellF, feedback = swellFeedback;
  const bool duck = attenuate;
  float fade = startFade, ducking = attenuation, low = lowState;
  float buf0 = swellBuf0, buf1 = swellBuf1, swellAt = swellLevel, rate = swellRate;
  for (int i = 0; i < frames; ++i) {
    const float s = ((noise[i] + 1.0f) * 0.5f) * 2.0f - 1.0f;

    swellIn[i] = 0.0f;
    swellGain[i] = 0.0f;
    if (swellAt > 0.0f) {
      buf0 = buf0 + f * (s - buf0 + feedback * (buf0 - buf1));
      buf1 = buf1 + f * (buf0 - buf1);
      swellIn[i] = buf1;
      swellGain[i] = swellAt;
    }

    ducking = stepDucking(ducking, duck);

    low = s * lowIn - lowBack * low;
    noise[i] = low;
    gain[i] = userLevel * 0.25f * ducking * fade;

    if (fade < 1.0f) fade += 0.00001f;

    stepSwell(swellAt, rate);
    // The filters are one chain of dependent steps that leaves the processor
    // idle between them: the saturation of frames done well before fills in,
    // where inside the chain each tanh would wait for it.
    if ((i & 3) == 3 && i >= summed + 11) {
      sumFour(summed);
      summed += 4;
    }
  }
  startFade = fade;
  attenuation = ducking;
  lowState = low;
  swellBuf0 = buf0;
  swellBuf1 = buf1;
  swellLevel = swellAt;
  swellRate = rate;

  // Lanes past the end are zeros: they cost a little work and are not written.
  for (int i = frames; i < (frames + 3) / 4 * 4; ++i) noise[i] = swellIn[i] = swellGain[i] = gain[i] = 0.0f;
  for (; summed < frames; summed += 4) sumFour(summed);
}

// Once per block: the cutoff glides a fifth of the way to its target, and
// while no swell runs, one may start.
void InterestingNoise::newBlock() {
  if (std::fabs(targetCutoff - cutoff) < 1.0f) targetCutoff = 220.0f + random.nextUnit() * 880.0f;
  cutoff = cutoff + (targetCutoff - cutoff) * 0.2f;
  const float e = expf(cutoff * -6.2831855f / 44100.0f);
  b1 = -e;
  a0 = 1.0f - e;

  if (swellRate == 0.0f && random.nextUnit() > 0.95f) {
    swellRate = random.nextUnit() * 0.000003f + 0.000002f;
    swellF = (random.nextUnit() * 7000.0f + 3360.0f) / 22050.0f;
    swellFeedback = 0.99f / (1.0f - swellF) + 0.99f;
  }
}
