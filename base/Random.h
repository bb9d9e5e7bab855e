#pragma once

#include <atomic>
#include <cstdint>

// The program's one pseudo-random source: an integer-noise function of a
// counter. Stepped from the main thread and the audio thread; each step is
// one atomic increment, so the counter is never torn and a step never
// allocates or blocks.
class Random {
 public:
  explicit Random(int32_t seed) : counter(static_cast<uint32_t>(seed)) {}

  // The shared generator, seeded with time(NULL) on first use.
  static Random &getGlobal();
  // Starts the sequence again from that seed, for a run that is to be repeatable.
  void reseed(int32_t seed) { counter.store(static_cast<uint32_t>(seed), std::memory_order_relaxed); }

  // Advances the counter; a float in [-1, 1].
  float nextSigned();
  // (nextSigned() + 1) * 0.5: a float in [0, 1].
  float nextUnit() { return (nextSigned() + 1.0f) * 0.5f; }
  // Advances the counter by count in one atomic step and writes the values
  // of those count steps in order: what count calls of nextSigned would
  // give, with no other thread's draw in between. For the audio thread,
  // which draws a block at a time.
  void nextSigned(float *values, int count);

  // The noise value of one counter value, without stepping.
  static float noise(int32_t counter);

  int32_t getCounter() const { return static_cast<int32_t>(counter.load(std::memory_order_relaxed)); }

 private:
  // Unsigned so that the increment wraps by definition.
  std::atomic<uint32_t> counter;
};
