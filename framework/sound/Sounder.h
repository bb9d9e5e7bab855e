#pragma once

#include "framework/sound/AudioClock.h"

#include <boost/shared_ptr.hpp>

#include <atomic>

class SoundFileLoader;

// Produces all sound of the application: the host forwards every audio block
// to getAudio and hands it every sound file at load time. The host also
// copies the device's channel counts and rate here before the device starts
// (and again after, since starting may change them).
class Sounder {
 public:
  virtual ~Sounder() = default;

  // Audio thread; the AudioDeviceCallback contract. Adds the sounder's stereo
  // signal (two floats per frame) into output.
  virtual void getAudio(float *input, float *output, int numSamples) = 0;
  // Main thread, once per sound file at load time. The loader must not be empty.
  virtual void loadSoundFileResource(boost::shared_ptr<SoundFileLoader> loader) = 0;

  // Any thread. Muted, the output is zeroed after mixing while every clock,
  // slot and callback keeps running.
  virtual void setMute(bool mute) = 0;
  virtual bool isMuted() const = 0;

  // Set by the main thread; read by any. Atomic because the host copies the
  // format again right after starting the device, whose first blocks may
  // already be timing themselves by the rate.
  void setNumChannels(int inputs, int outputs) {
    numInputs.store(inputs, std::memory_order_relaxed);
    numOutputs.store(outputs, std::memory_order_relaxed);
  }
  void setSamplerate(double rate) { samplerate.store(rate, std::memory_order_relaxed); }
  int getNumInputs() const { return numInputs.load(std::memory_order_relaxed); }
  int getNumOutputs() const { return numOutputs.load(std::memory_order_relaxed); }
  double getSamplerate() const { return samplerate.load(std::memory_order_relaxed); }

  // Where the sounder's output stands and when it is heard: the sounder
  // advances it by every block it mixes, and the host times each block
  // before it is mixed (AudioClock).
  AudioClock &getClock() { return clock; }
  const AudioClock &getClock() const { return clock; }

 private:
  AudioClock clock;
  std::atomic<int> numInputs{0};
  std::atomic<int> numOutputs{2};
  std::atomic<double> samplerate{44100.0};
};
