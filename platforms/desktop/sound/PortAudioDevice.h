#pragma once

#include "framework/sound/AudioDevice.h"

#include <memory>

// Audio through PortAudio V19: 32-bit float interleaved streams with the
// host's own buffer size. A stereo output buffer is cleared and handed
// straight to the callback; for other channel counts the callback writes
// stereo pieces into a block of the device's, which are then fitted to the
// stream's channels. On Linux the host interfaces that can exist are "ALSA",
// "JACK" and "OSS".
class PortAudioDevice final : public AudioDevice {
 public:
  // Frames of one stereo piece for streams of other than two output channels.
  static constexpr int StereoBlockFrames = 1024;
  // The least output latency asked of the host, about the SDL device's block
  // of 4096 frames: enough for the sound to ride out a busy moment.
  static constexpr double MinimumOutputLatencySeconds = 0.1;

  PortAudioDevice();
  ~PortAudioDevice() override;

  PortAudioDevice(const PortAudioDevice &) = delete;
  PortAudioDevice &operator=(const PortAudioDevice &) = delete;

  // Chooses the host interface by its exact name: "DirectSound", "ASIO",
  // "MME", "WDM", "WASAPI", "ALSA", "JACK", "OSS"; "CoreAudio" and any other
  // text choose CoreAudio.
  void setAPI(const std::wstring &api) override;
  // Opens the host interface's default devices, the output with the larger
  // of its high latency and MinimumOutputLatencySeconds; a device that rejects
  // the rate is tried at 48000 Hz. A side with no channels is not opened.
  bool start() override;
  void stop() override;

  // The chosen host interface as PortAudio's PaHostApiTypeId value.
  int getHostApiType() const { return hostApiType; }
  // The open stream's output latency as the host reports it; 0 while stopped.
  double getOutputLatencySeconds() const;

  // What the stream's callback sees, fixed from start() to stop().
  struct Running {
    AudioDeviceCallback *callback;
    // Null for none.
    CallbackTimer *timer;
    int inputs;
    int outputs;
    // StereoBlockFrames stereo frames; null when the output is stereo.
    float *stereoBlock;
    // The stream's output latency in seconds, for hosts that time no block.
    double outputLatency;
  };

 private:
  // A PaStream; null while closed.
  void *stream = nullptr;
  int hostApiType;
  bool started = false;
  Running running = {nullptr, nullptr, 0, 0, nullptr, 0.0};
  std::unique_ptr<float[]> stereoBlock;
};
