#pragma once

#include <string>

class AudioDeviceCallback;
class CallbackTimer;

// An audio output (and optionally input) behind one small interface. The
// setters only store their values and take effect at the next start(); the
// getters return the stored values, which start() may change to what the
// library actually opened. All calls come from one controlling thread (the
// main thread); the callback runs on the device's own thread from start()
// until stop() returns.
//
// Whatever channel count the hardware takes, the callback is handed stereo
// blocks (two floats a frame), which the device fits to the hardware: one
// channel gets the average of left and right, more than two get left and
// right in the first two channels and silence in the others.
//
// Typical use by a host:
//   device->setAPI(api); device->setCallback(host);
//   sounder->setNumChannels(device->getNumInputs(), device->getNumOutputs());
//   sounder->setSamplerate(device->getSamplerate());
//   if (!device->start()) ... fall back to another device ...
//   ... copy the three values into the sounder again: start() may change them.
class AudioDevice {
 public:
  // What the host tells every device, kept in one place.
  struct Settings {
    // Not owned; must outlive the running device.
    AudioDeviceCallback *callback = nullptr;
    int numInputs = 0;
    int numOutputs = 2;
    double samplerate = 44100.0;
    // Not owned; null for none. Times every call of the callback.
    CallbackTimer *callbackTimer = nullptr;
  };

  virtual ~AudioDevice() = default;

  void setCallback(AudioDeviceCallback *callback) { settings.callback = callback; }
  void setNumChannels(int inputs, int outputs) {
    settings.numInputs = inputs;
    settings.numOutputs = outputs;
  }
  void setSamplerate(double samplerate) { settings.samplerate = samplerate; }
  // Must outlive the running device; takes effect at the next start().
  void setCallbackTimer(CallbackTimer *timer) { settings.callbackTimer = timer; }
  // The name of the host audio interface, for back-ends that offer several.
  virtual void setAPI(const std::wstring &api) = 0;
  // True when audio is running. False when already started or when the
  // output could not be opened; the device then stays closed.
  virtual bool start() = 0;
  // No callback is running or will run once this returns. Does nothing when
  // closed.
  virtual void stop() = 0;

  // The hardware's own channel counts once started.
  int getNumInputs() const { return settings.numInputs; }
  int getNumOutputs() const { return settings.numOutputs; }
  double getSamplerate() const { return settings.samplerate; }

 protected:
  Settings settings;
};
