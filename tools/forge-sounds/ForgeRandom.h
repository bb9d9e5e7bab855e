#pragma once

#include <cstdint>

// The forge's own generator (splitmix64): every sound has a fixed seed, so two
// runs of the forge write the same bytes.
class ForgeRandom {
 public:
  explicit ForgeRandom(uint64_t seed) : state(seed) {}

  uint64_t next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // In [0, 1).
  float unit() { return static_cast<float>(next() >> 40) * (1.0f / 16777216.0f); }
  // In [-1, 1).
  float bipolar() { return unit() * 2.0f - 1.0f; }
  float between(float low, float high) { return low + (high - low) * unit(); }
  bool chance(float probability) { return unit() < probability; }
  int below(int count) { return static_cast<int>(next() % static_cast<uint64_t>(count)); }

 private:
  uint64_t state;
};
