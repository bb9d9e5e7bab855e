#pragma once

#include <atomic>
#include <cstdint>

// How much sound the game has really put out: the blocks mixed, those with
// anything audible in them, and the loudest sample. The page's tests read it
// to tell a silent game from one that plays.
//
// Threads: the audio thread adds, any thread reads (relaxed counters: each
// figure is right on its own, not in step with the others).
class OutputMeter final {
 public:
  // A sample at or below this is silence (-60 dBFS).
  static constexpr float SilenceLevel = 0.001f;

  // Audio thread: one mixed block of interleaved samples.
  void add(const float *samples, int count);

  std::int64_t blocks() const { return blockCount.load(std::memory_order_relaxed); }
  std::int64_t audibleBlocks() const { return audibleCount.load(std::memory_order_relaxed); }
  float peak() const { return peakLevel.load(std::memory_order_relaxed); }

 private:
  std::atomic<std::int64_t> blockCount{0};
  std::atomic<std::int64_t> audibleCount{0};
  std::atomic<float> peakLevel{0.0f};
};
