#include "sound/SilentClockAudioDevice.h"

#include "app/Assertion.h"
#include "sound/AudioDeviceCallback.h"
#include "sound/CallbackTimer.h"

#include <algorithm>
#include <chrono>
#include <cmath>

SilentClockAudioDevice::~SilentClockAudioDevice() { stop(); }

bool SilentClockAudioDevice::start() {
  AudioDeviceCallback *callback = settings.callback;
  MW_ASSERT(callback);
  if (started || !(settings.samplerate > 0.0)) return false;
  const int channels = std::max({settings.numInputs, settings.numOutputs, 2});
  buffer.assign(static_cast<size_t>(channels) * FramesPerBlock, 0.0f);
  stopping = false;
  clock = std::thread(&SilentClockAudioDevice::runClock, this, callback, settings.callbackTimer, settings.samplerate);
  started = true;
  return true;
}

void SilentClockAudioDevice::stop() {
  if (!started) return;
  {
    std::lock_guard<std::mutex> guard(sleepLock);
    stopping = true;
  }
  wake.notify_one();
  clock.join();
  started = false;
}

void SilentClockAudioDevice::runClock(AudioDeviceCallback *target, CallbackTimer *timer, double rate) {
  using Clock = std::chrono::steady_clock;
  // Block n is due n blocks' worth of time after the start, so rounding never
  // accumulates into drift.
  Clock::time_point origin = Clock::now();
  long long blocks = 0;
  for (;;) {
    {
      const CallbackTimer::Scope timing(timer, FramesPerBlock);
      std::fill(buffer.begin(), buffer.end(), 0.0f);
      target->getAudio(buffer.data(), buffer.data(), FramesPerBlock);
    }
    ++blocks;
    const auto due = [&] {
      return origin + std::chrono::nanoseconds(std::llround(static_cast<double>(blocks) * FramesPerBlock * 1e9 / rate));
    };
    // A callback that fell more than a second behind resumes the pace from
    // now instead of catching up in a burst.
    if (Clock::now() - due() > std::chrono::seconds(1)) {
      origin = Clock::now();
      blocks = 0;
    }
    std::unique_lock<std::mutex> lock(sleepLock);
    if (wake.wait_until(lock, due(), [this] { return stopping; })) return;
  }
}
