#include "framework/sound/OutputMeter.h"

#include <cmath>

void OutputMeter::add(const float *samples, int count) {
  float loudest = 0.0f;
  for (int i = 0; i < count; ++i) loudest = std::fmax(loudest, std::fabs(samples[i]));
  blockCount.fetch_add(1, std::memory_order_relaxed);
  if (loudest > SilenceLevel) audibleCount.fetch_add(1, std::memory_order_relaxed);
  // Only the audio thread writes: no compare-and-swap needed.
  if (loudest > peakLevel.load(std::memory_order_relaxed)) peakLevel.store(loudest, std::memory_order_relaxed);
}
