#pragma once

#include "sound/AudioClock.h"

#include <boost/shared_ptr.hpp>

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

  // Main thread, while the device is stopped.
  void setNumChannels(int inputs, int outputs) {
    numInputs = inputs;
    numOutputs = outputs;
  }
  void setSamplerate(double samplerate) { this->samplerate = samplerate; }
  int getNumInputs() const { return numInputs; }
  int getNumOutputs() const { return numOutputs; }
  double getSamplerate() const { return samplerate; }

  // Where the sounder's output stands and when it is heard: the sounder
  // advances it by every block it mixes, and the host times each block
  // before it is mixed (AudioClock).
  AudioClock &getClock() { return clock; }
  const AudioClock &getClock() const { return clock; }

 private:
  AudioClock clock;
  int numInputs = 0;
  int numOutputs = 2;
  double samplerate = 44100.0;
};
