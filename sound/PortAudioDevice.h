#pragma once

#include "sound/AudioDevice.h"

// Audio through PortAudio V19: 32-bit float interleaved streams with the
// host's own buffer size, handed straight to the callback. The output buffer
// is cleared before each call. On Linux the host interfaces that can exist
// are "ALSA", "JACK" and "OSS".
class PortAudioDevice final : public AudioDevice {
 public:
  PortAudioDevice();
  ~PortAudioDevice() override;

  PortAudioDevice(const PortAudioDevice &) = delete;
  PortAudioDevice &operator=(const PortAudioDevice &) = delete;

  void setCallback(AudioDeviceCallback *callback) override { this->callback = callback; }
  void setNumChannels(int inputs, int outputs) override;
  void setSamplerate(double samplerate) override { this->samplerate = samplerate; }
  // Chooses the host interface by its exact name: "DirectSound", "ASIO",
  // "MME", "WDM", "WASAPI", "ALSA", "JACK", "OSS"; "CoreAudio" and any other
  // text choose CoreAudio.
  void setAPI(const std::wstring &api) override;
  // Opens the host interface's default devices; a device that rejects the
  // rate is tried at 48000 Hz. A side with no channels is not opened.
  bool start() override;
  void stop() override;

  int getNumInputs() const override { return numInputs; }
  int getNumOutputs() const override { return numOutputs; }
  double getSamplerate() const override { return samplerate; }

  // The chosen host interface as PortAudio's PaHostApiTypeId value.
  int getHostApiType() const { return hostApiType; }

  // What the stream's callback sees, fixed from start() to stop().
  struct Running {
    AudioDeviceCallback *callback;
    int outputs;
  };

 private:
  // A PaStream; null while closed.
  void *stream = nullptr;
  AudioDeviceCallback *callback = nullptr;
  int numInputs = 0;
  int numOutputs = 2;
  double samplerate = 44100.0;
  int hostApiType;
  bool started = false;
  Running running = {nullptr, 0};
};
