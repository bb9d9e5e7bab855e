#pragma once

#include <chrono>

// The one client of an AudioDevice: asked for every block of samples.
class AudioDeviceCallback {
 public:
  virtual ~AudioDeviceCallback() = default;

  // Called on the audio thread right before getAudio: when the block's first
  // frame will be heard, as the device reckons it (steady clock). Every
  // device tells; a client that has no use for it ignores it.
  virtual void blockHeardAt(std::chrono::steady_clock::time_point) {}

  // Called on the audio library's own thread; must not allocate, lock or do
  // I/O. numSamples counts frames. output holds numSamples interleaved stereo
  // frames (two floats each) whatever channel count the device opened,
  // arrives silent (0.0), and the callback adds or writes its signal into it.
  // input holds the same number of input frames; a back-end may pass one
  // buffer as both.
  virtual void getAudio(float *input, float *output, int numSamples) = 0;
};
