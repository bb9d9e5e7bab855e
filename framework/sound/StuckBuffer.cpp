#include "framework/sound/StuckBuffer.h"

#include "base/Random.h"

StuckBuffer::StuckBuffer() {
  // Never heard (the warm-up records all of it first), but never undefined either.
  buffer.fill(0.0f);
}

void StuckBuffer::getAudio(float *output, int numSamples) {
  if (!stuck && warmUp >= 1.0f) {
    stuck = Random::getGlobal().nextUnit() > 0.995f;
    if (stuck) {
      loopLength = 1024 + static_cast<int>(Random::getGlobal().nextUnit() * 21026.0f);
      repeatsLeft = 4 + static_cast<int>(Random::getGlobal().nextUnit() * 16.0f);
    }
  }
  for (int i = 0; i < numSamples; ++i) {
    float &recorded = buffer[static_cast<size_t>(position)];
    if (stuck)
      recorded = output[2 * i] * 0.5f + recorded;
    else
      recorded = output[2 * i];
    output[2 * i] = recorded;
    output[2 * i + 1] = recorded;
    if (++position >= loopLength) position = 0;
    if (warmUp < 1.0f) warmUp += 0.00001f;
  }
  if (stuck && --repeatsLeft <= 0) {
    stuck = false;
    loopLength = BufferFrames;
  }
}
