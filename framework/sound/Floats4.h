#pragma once

#include <cstdint>
#include <cstring>

// Four floats (two stereo frames) as one value, in whatever vector registers
// the target has (SSE2 on any x86-64); arithmetic works lane by lane, and
// a lane-wise comparison can pick between two values, as in
// `v > 1.0f ? 1.0f : v`. For the loops on the audio path.
typedef float Floats4 __attribute__((vector_size(16)));
typedef std::int32_t Int32s4 __attribute__((vector_size(16)));
typedef std::int16_t Int16s8 __attribute__((vector_size(16)));
typedef std::int64_t Int64s2 __attribute__((vector_size(16)));

inline Floats4 loadFloats4(const float *from) {
  Floats4 four;
  std::memcpy(&four, from, sizeof four);
  return four;
}

inline void storeFloats4(float *to, Floats4 four) { std::memcpy(to, &four, sizeof four); }

// Four 16-bit samples converted exactly to floats. Each sample is doubled
// into both halves of a 32-bit lane and shifted down with its sign: SSE2 has
// no widening load, and converting 16-bit lanes directly turns into four
// scalar conversions. The samples are read as one 64-bit value, so that they
// go straight into a register.
inline Floats4 loadInt16sAsFloats4(const std::int16_t *from) {
  std::int64_t four;
  std::memcpy(&four, from, sizeof four);
  const Int16s8 samples = (Int16s8)Int64s2{four, 0};
  const Int16s8 doubled = __builtin_shufflevector(samples, samples, 0, 0, 1, 1, 2, 2, 3, 3);
  return __builtin_convertvector((Int32s4)doubled >> 16, Floats4);
}
