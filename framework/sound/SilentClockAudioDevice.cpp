#include "framework/sound/SilentClockAudioDevice.h"

#include "base/Assertion.h"
#include "framework/sound/AudioDeviceCallback.h"
#include "framework/sound/CallbackTimer.h"

#include <algorithm>
#include <cmath>

SilentClockAudioDevice::SilentClockAudioDevice() : Thread("silent clock") {}

SilentClockAudioDevice::~SilentClockAudioDevice() { stop(); }

bool SilentClockAudioDevice::start() {
  AudioDeviceCallback *callback = settings.callback;
  MW_ASSERT(callback);
  if (started || !(settings.samplerate > 0.0)) return false;
  const int channels = std::max({settings.numInputs, settings.numOutputs, 2});
  buffer.assign(static_cast<size_t>(channels) * FramesPerBlock, 0.0f);
  runningCallback = callback;
  runningTimer = settings.callbackTimer;
  runningRate = settings.samplerate;
  origin = Clock::now();
  blocks = 0;
  started = startThread(this);
  return started;
}

void SilentClockAudioDevice::stop() {
  if (!started) return;
  stopThread();
  started = false;
}

SilentClockAudioDevice::Clock::time_point SilentClockAudioDevice::due() const {
  return origin +
         std::chrono::nanoseconds(std::llround(static_cast<double>(blocks) * FramesPerBlock * 1e9 / runningRate));
}

int SilentClockAudioDevice::step() {
  if (Clock::now() >= due()) {
    {
      const CallbackTimer::Scope timing(runningTimer, FramesPerBlock);
      std::fill(buffer.begin(), buffer.end(), 0.0f);
      // Nothing plays: a block is "heard" when it is due.
      runningCallback->blockHeardAt(due());
      runningCallback->getAudio(buffer.data(), buffer.data(), FramesPerBlock);
    }
    ++blocks;
    // A callback that fell more than a second behind resumes the pace from
    // now instead of catching up in a burst.
    if (Clock::now() - due() > std::chrono::seconds(1)) {
      origin = Clock::now();
      blocks = 0;
    }
  }
  // Rounded up: woken no earlier than the block is due.
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due() - Clock::now());
  return static_cast<int>(std::max<long long>(wait.count(), 0));
}
