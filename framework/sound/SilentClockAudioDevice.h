#pragma once

#include "base/Thread.h"
#include "framework/sound/AudioDevice.h"

#include <chrono>
#include <vector>

// The device for machines with no sound output: a thread of its own calls the
// callback with blocks of 4096 silent frames at the real-time pace of the
// sample rate and throws the output away. Everything timed by audio frames
// (the end of a spoken passage, a bar clock) therefore still happens on time.
// Input is silence too; the callback gets one buffer as input and output,
// with room for at least two channels per frame. The thread is a Thread, so
// in the browser the main loop calls back between frames.
class SilentClockAudioDevice final : public AudioDevice, private Thread {
 public:
  static constexpr int FramesPerBlock = 4096;

  SilentClockAudioDevice();
  ~SilentClockAudioDevice() override;

  // There is no host interface to choose; the name is ignored.
  void setAPI(const std::wstring &) override {}
  // Requires a callback. False when already started, when the rate is not
  // positive, or when no thread can be started (no thread back-end installed).
  bool start() override;
  void stop() override;

 private:
  using Clock = std::chrono::steady_clock;

  // On the clock's thread: the block that is due, if one is; then the
  // milliseconds until the next is.
  int step() override;
  Clock::time_point due() const;

  bool started = false;
  // What start() found, fixed until stop().
  AudioDeviceCallback *runningCallback = nullptr;
  CallbackTimer *runningTimer = nullptr;
  double runningRate = 0.0;
  // The block handed to the callback, allocated by start().
  std::vector<float> buffer;
  // Block n is due n blocks' worth of time after the origin, so rounding
  // never accumulates into drift.
  Clock::time_point origin;
  long long blocks = 0;
};
