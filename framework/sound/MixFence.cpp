#include "framework/sound/MixFence.h"

#include <chrono>

void MixFence::enter() {
  mixer.store(std::this_thread::get_id(), std::memory_order_relaxed);
  sequence.fetch_add(1, std::memory_order_seq_cst);
}

void MixFence::leave() { sequence.fetch_add(1, std::memory_order_seq_cst); }

void MixFence::waitForBlock() const {
  const unsigned seen = sequence.load(std::memory_order_seq_cst);
  if (!(seen & 1u)) return;
  // The counter's value came from this block's enter(), so the mixer's id is
  // that block's.
  if (mixer.load(std::memory_order_relaxed) == std::this_thread::get_id()) return;
  // A block lasts at most a few milliseconds of work.
  while (sequence.load(std::memory_order_seq_cst) == seen) std::this_thread::sleep_for(std::chrono::microseconds(200));
}
