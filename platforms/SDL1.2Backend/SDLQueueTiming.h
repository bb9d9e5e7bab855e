#pragma once

#include "platforms/SDL1.2Backend/SDLAudioTiming.h"

// SDL's audio on the desktop: SDL 2 (under SDL 1.2's layer) hands each block
// to the system's sound (a sound server, ALSA) and asks for the next once
// there is room for it; what is queued ahead of a block is not reported. It
// is measured as SDL starts: the blocks asked for faster than they play, in
// the first second, fill the queue, and its depth stays. A block is heard
// that long after it is asked for, and right after the block before it as
// long as that reckoning agrees within a quarter of a block (callbacks
// jitter; the sound does not), else when the reckoning says (the queue ran
// dry, or the clocks drifted apart).
class SDLQueueTiming final : public SDLAudioTiming {
 public:
  static constexpr int FramesPerBlock = 4096;
  // How long after the first callback the queue is measured.
  static constexpr double MeasuringSeconds = 1.0;

  int framesPerBlock() const override { return FramesPerBlock; }
  // A new opening measures afresh.
  void beforeOpen() override;
  Clock::time_point blockHeardAt(int frames, double rate) override;

  // The queue's depth as measured so far, in frames.
  double queuedFrames() const { return queued; }

 private:
  bool started = false;
  Clock::time_point origin;
  double delivered = 0.0;
  double queued = 0.0;
  Clock::time_point lastHeard;
  double lastFrames = 0.0;
};
