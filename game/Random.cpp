#include "game/Random.h"

#include <ctime>

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
