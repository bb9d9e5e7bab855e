#pragma once

#include <cstring>

// Four floats (two stereo frames) as one value, in whatever vector registers
// the target has (SSE2 on any x86-64); arithmetic works lane by lane, and
// a lane-wise comparison can pick between two values, as in
// `v > 1.0f ? 1.0f : v`. For the loops on the audio path.
typedef float Floats4 __attribute__((vector_size(16)));

inline Floats4 loadFloats4(const float *from) {
  Floats4 four;
  std::memcpy(&four, from, sizeof four);
  return four;
}

inline void storeFloats4(float *to, Floats4 four) { std::memcpy(to, &four, sizeof four); }
