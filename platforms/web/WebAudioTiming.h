#pragma once

#include "platforms/SDL1.2Backend/SDLAudioTiming.h"

// SDL's audio in the browser: each block SDL asks for is scheduled on the
// Web Audio context's clock right after the one before it, at least SDL's
// buffering delay ahead of the context's time, as soon as the callback
// returns. When that schedule reaches the ear comes from the context's own
// output timestamp (or its output latency where it has none). The queue is
// kept short: smaller blocks than the desktop's and few of them ahead, which
// still play without a gap with the page busy (the main loop tops the queue
// up at every paint and between paints besides SDL's own timers, and holds
// more blocks while its paints are long, as the loading screen's are).
class WebAudioTiming final : public SDLAudioTiming {
 public:
  static constexpr int FramesPerBlock = 2048;
  // The fewest blocks queued ahead.
  static constexpr int QueuedBlocks = 3;
  // Queued ahead as sound starts: a context that has just begun may race
  // ahead of the page for a moment, and the main loop's first paints, which
  // set the queue's length from then on, are the loading screen's long ones.
  static constexpr int StartingBlocks = 8;

  int framesPerBlock() const override { return FramesPerBlock; }
  // Tells SDL how many blocks to keep queued at first.
  void beforeOpen() override;
  Clock::time_point blockHeardAt(int frames, double rate) override;
};
