#pragma once

#include "sound/AudioDevice.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

// The device for machines with no sound output: a thread of its own calls the
// callback with blocks of 4096 silent frames at the real-time pace of the
// sample rate and throws the output away. Everything timed by audio frames
// (the end of a spoken passage, a bar clock) therefore still happens on time.
// Input is silence too; the callback gets one buffer as input and output,
// with room for at least two channels per frame.
class SilentClockAudioDevice final : public AudioDevice {
 public:
  static constexpr int FramesPerBlock = 4096;

  SilentClockAudioDevice() = default;
  ~SilentClockAudioDevice() override;

  SilentClockAudioDevice(const SilentClockAudioDevice &) = delete;
  SilentClockAudioDevice &operator=(const SilentClockAudioDevice &) = delete;

  // There is no host interface to choose; the name is ignored.
  void setAPI(const std::wstring &) override {}
  // Requires a callback. False when already started or the rate is not positive.
  bool start() override;
  void stop() override;

 private:
  void runClock(AudioDeviceCallback *target, CallbackTimer *timer, double rate);

  bool started = false;

  // The block handed to the callback, allocated by start().
  std::vector<float> buffer;
  std::thread clock;
  // Wakes the clock from its sleep between blocks when stop() is called; the
  // callback itself runs without the lock.
  std::mutex sleepLock;
  std::condition_variable wake;
  bool stopping = false;
};
