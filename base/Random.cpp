#include "base/Random.h"

#include <cstring>
#include <ctime>

namespace {

// Four lanes, in whatever vector registers the target has; the compiler
// builds each operation lane by lane elsewhere. All integer arithmetic wraps
// at 32 bits, hence unsigned.
typedef uint32_t Unsigned4 __attribute__((vector_size(16)));
typedef int32_t Ints4 __attribute__((vector_size(16)));
typedef double Doubles4 __attribute__((vector_size(32)));
typedef float Floats4 __attribute__((vector_size(16)));

// The integer noise of every lane, written as noise() does it step by step,
// so that each lane gives the same float.
Floats4 noise4(Unsigned4 c) {
  const Unsigned4 n = (c << 13) ^ c;
  const Unsigned4 m = (n * (n * n * 15731u + 789221u) + 1376312589u) & 0x7fffffffu;
  const Doubles4 value = __builtin_convertvector(reinterpret_cast<Ints4>(m), Doubles4) * -9.313225746154785e-10 + 1.0;
  return __builtin_convertvector(value, Floats4);
}

}  // namespace

Random &Random::getGlobal() {
  static Random instance(static_cast<int32_t>(std::time(nullptr)));
  return instance;
}

float Random::noise(int32_t value) {
  // All arithmetic wraps at 32 bits, hence unsigned.
  const uint32_t c = static_cast<uint32_t>(value);
  const uint32_t n = (c << 13) ^ c;
  const uint32_t m = (n * (n * n * 15731u + 789221u) + 1376312589u) & 0x7fffffffu;
  return static_cast<float>(static_cast<double>(m) * -9.313225746154785e-10 + 1.0);
}

float Random::nextSigned() {
  const uint32_t stepped = counter.fetch_add(1, std::memory_order_relaxed) + 1u;
  return noise(static_cast<int32_t>(stepped));
}

void Random::nextSigned(float *values, int count) {
  if (count <= 0) return;
  const uint32_t first = counter.fetch_add(static_cast<uint32_t>(count), std::memory_order_relaxed) + 1u;
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const Floats4 four = noise4(first + static_cast<uint32_t>(i) + Unsigned4{0, 1, 2, 3});
    std::memcpy(values + i, &four, sizeof four);
  }
  for (; i < count; ++i) values[i] = noise(static_cast<int32_t>(first + static_cast<uint32_t>(i)));
}
