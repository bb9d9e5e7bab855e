#pragma once

#include <string>

class AudioDeviceCallback;

// An audio output (and optionally input) behind one small interface. The
// setters only store their values and take effect at the next start(); the
// getters return the stored values, which start() may change to what the
// library actually opened. All calls come from one controlling thread (the
// main thread); the callback runs on the device's own thread from start()
// until stop() returns.
//
// Typical use by a host:
//   device->setAPI(api); device->setCallback(host);
//   sounder->setNumChannels(device->getNumInputs(), device->getNumOutputs());
//   sounder->setSamplerate(device->getSamplerate());
//   if (!device->start()) ... fall back to another device ...
//   ... copy the three values into the sounder again: start() may change them.
class AudioDevice {
 public:
  virtual ~AudioDevice() = default;

  // Not owned; must outlive the running device.
  virtual void setCallback(AudioDeviceCallback *callback) = 0;
  virtual void setNumChannels(int inputs, int outputs) = 0;
  virtual void setSamplerate(double samplerate) = 0;
  // The name of the host audio interface, for back-ends that offer several.
  virtual void setAPI(const std::wstring &api) = 0;
  // True when audio is running. False when already started or when the
  // output could not be opened; the device then stays closed.
  virtual bool start() = 0;
  // No callback is running or will run once this returns. Does nothing when
  // closed.
  virtual void stop() = 0;

  virtual int getNumInputs() const = 0;
  virtual int getNumOutputs() const = 0;
  virtual double getSamplerate() const = 0;
};
