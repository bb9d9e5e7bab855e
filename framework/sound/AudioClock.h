#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

// A frame's place in a sounder's output: how many frames it mixed before it.
using AudioFrame = std::int64_t;

// When what a sounder mixes is heard. The sounder counts the frames it
// mixes; the device that asks for a block tells, before the block is mixed,
// when its first frame will be heard, which may be half a second later. The
// picture acts on what the sound does (a bar begins, a passage ends) once the
// player hears it, by asking whether the event's frame has been heard.
//
// Threads: one audio thread at a time times and advances the clock (blocks
// never overlap; a device that hands over to another does so through a
// release and an acquire); any thread reads it. No lock, no allocation.
class AudioClock final {
 public:
  using Clock = std::chrono::steady_clock;

  // Audio thread, before a block is mixed: its first frame, the next to be
  // mixed, is heard at heardAt, and the frames follow at rate a second.
  void blockHeardAt(Clock::time_point heardAt, double rate);
  // Audio thread, once a block of that many frames is mixed.
  void advance(int frames) { mixed.store(mixed.load(std::memory_order_relaxed) + frames, std::memory_order_release); }

  // Any thread: the frames mixed so far; while a block is being mixed, its first.
  AudioFrame mixedFrames() const { return mixed.load(std::memory_order_acquire); }
  // Any thread: when the frame is heard, from the latest block's timing; a
  // frame not mixed yet as if every block until it followed without a gap.
  // Until a device times the clock, every frame counts as heard at once
  // (the earliest time point): nothing waits for a clock nobody keeps.
  Clock::time_point heardAt(AudioFrame frame) const;
  bool isHeard(AudioFrame frame, Clock::time_point now) const { return heardAt(frame) <= now; }

 private:
  // A sequence lock: odd while the audio thread rewrites the timing.
  std::atomic<unsigned> version{0};
  std::atomic<AudioFrame> anchorFrame{0};
  std::atomic<Clock::rep> anchorTicks{0};
  // Frames a second; 0 until the clock is first timed.
  std::atomic<double> anchorRate{0.0};
  std::atomic<AudioFrame> mixed{0};
};
