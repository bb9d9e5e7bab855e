#include "sound/InterestingNoise.h"

#include "game/Random.h"

#include <cmath>

namespace {

float unit() { return Random::getGlobal().nextUnit(); }

}  // namespace

InterestingNoise::InterestingNoise() {
  // e^(-2 pi 880 / 44100)
  const float e = expf(-0.12537876f);
  a0 = 1.0f - e;
  b1 = -e;
  targetCutoff = 220.0f + unit() * 1680.0f;
}

void InterestingNoise::getAudio(float *output, int numSamples) {
  // The user level is taken once per block.
  const float userLevel = level.load(std::memory_order_relaxed);
  for (int i = 0; i < numSamples; ++i) {
    const float s = unit() * 2.0f - 1.0f;

    float swell = 0.0f;
    if (swellLevel > 0.0f) {
      swellBuf0 = swellBuf0 + swellF * (s - swellBuf0 + swellFeedback * (swellBuf0 - swellBuf1));
      swellBuf1 = swellBuf1 + swellF * (swellBuf0 - swellBuf1);
      swell = tanhf(swellBuf1) * swellLevel;
    }

    if (attenuate && attenuation > 0.5f)
      attenuation -= 0.0001f;
    else if (!attenuate && attenuation < 1.0f)
      attenuation += 0.0001f;

    lowState = s * a0 - b1 * lowState;

    const float value = (lowState + swell) * (userLevel * 0.25f * attenuation * startFade);
    output[2 * i] += value;
    output[2 * i + 1] += value;

    if (startFade < 1.0f) startFade += 0.00001f;

    if (swellRate > 0.0f) {
      swellLevel += swellRate;
      if (swellLevel > 1.0f) swellRate = -swellRate;
    } else if (swellRate < 0.0f) {
      swellLevel += swellRate;
      if (swellLevel < 0.0f) {
        swellLevel = 0.0f;
        swellRate = 0.0f;
      }
    }
  }
  newBlock();
}

// Once per block: the cutoff glides a fifth of the way to its target, and
// while no swell runs, one may start.
void InterestingNoise::newBlock() {
  if (std::fabs(targetCutoff - cutoff) < 1.0f) targetCutoff = 220.0f + unit() * 880.0f;
  cutoff = cutoff + (targetCutoff - cutoff) * 0.2f;
  const float e = expf(cutoff * -6.2831855f / 44100.0f);
  b1 = -e;
  a0 = 1.0f - e;

  if (swellRate == 0.0f && unit() > 0.95f) {
    swellRate = unit() * 0.000003f + 0.000002f;
    swellF = (unit() * 7000.0f + 3360.0f) / 22050.0f;
    swellFeedback = 0.99f / (1.0f - swellF) + 0.99f;
  }
}
