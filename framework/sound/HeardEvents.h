#pragma once

#include "framework/sound/AudioClock.h"

#include <array>
#include <atomic>

// What the sound tells the picture (a bar has begun, a passage has ended),
// handed from the audio thread to the main thread with the frame where it
// happens, and taken once that frame is heard, in the order it was posted.
// One producer (the audio thread), one consumer (the main thread); no lock,
// no allocation. Capacity events can wait: more than that means the picture
// has not looked for as many bars, and the newest are dropped.
template <int Capacity = 16>
class HeardEvents final {
 public:
  struct Event {
    AudioFrame frame = 0;
    int value = 0;
  };

  // Audio thread. False when the queue is full and the event is dropped.
  bool post(AudioFrame frame, int value = 0) {
    const unsigned head = posted.load(std::memory_order_relaxed);
    if (head - taken.load(std::memory_order_acquire) >= Capacity) return false;
    Slot &slot = slots[head % Capacity];
    slot.frame.store(frame, std::memory_order_relaxed);
    slot.value.store(value, std::memory_order_relaxed);
    posted.store(head + 1, std::memory_order_release);
    return true;
  }

  // Main thread: the oldest event, removed, when the clock has heard its
  // frame by now; a null clock hears everything at once.
  bool takeHeard(const AudioClock *clock, AudioClock::Clock::time_point now, Event &event) {
    const unsigned tail = taken.load(std::memory_order_relaxed);
    if (tail == posted.load(std::memory_order_acquire)) return false;
    const Slot &slot = slots[tail % Capacity];
    const AudioFrame frame = slot.frame.load(std::memory_order_relaxed);
    if (clock && !clock->isHeard(frame, now)) return false;
    event.frame = frame;
    event.value = slot.value.load(std::memory_order_relaxed);
    taken.store(tail + 1, std::memory_order_release);
    return true;
  }

  // Main thread: drops every waiting event.
  void clear() { taken.store(posted.load(std::memory_order_acquire), std::memory_order_release); }

 private:
  static_assert(Capacity > 0 && (Capacity & (Capacity - 1)) == 0, "the counters wrap at a power of two");

  struct Slot {
    std::atomic<AudioFrame> frame{0};
    std::atomic<int> value{0};
  };
  std::array<Slot, Capacity> slots;
  std::atomic<unsigned> posted{0};
  std::atomic<unsigned> taken{0};
};
