#pragma once

#include "platforms/SDL1.2Backend/SDLAudioTiming.h"
#include "framework/sound/AudioDevice.h"

#include <SDL/SDL_audio.h>

#include <memory>

// Audio output through SDL 1.2: signed 16-bit little-endian samples, 4096
// frames per callback (or what the timing asks for). SDL's buffer is
// converted to stereo floats for the callback and back to SDL's channels in
// 16 bits (clamped to -1 .. 1, times 32767, truncated). The callback gets one
// buffer as both input and output, and before it, when the block is heard,
// as the timing reckons. SDL 1.2 opens one audio device per process, so one
// instance at a time can run.
class SDL1_2AudioDevice final : public AudioDevice {
 public:
  // timing: what lies under SDL on this platform; null for the desktop's
  // (SDLQueueTiming).
  explicit SDL1_2AudioDevice(std::unique_ptr<SDLAudioTiming> timing = nullptr);
  ~SDL1_2AudioDevice() override;

  SDL1_2AudioDevice(const SDL1_2AudioDevice &) = delete;
  SDL1_2AudioDevice &operator=(const SDL1_2AudioDevice &) = delete;

  // SDL has one audio interface; the name is ignored.
  void setAPI(const std::wstring &) override {}
  // Requires a callback. Opens SDL audio (SDL's audio subsystem must be
  // initialised or initialisable); on success the channel counts and the
  // rate become what SDL obtained.
  bool start() override;
  void stop() override;

  // SDL's callback, on SDL's audio thread; userdata is the device.
  static void sdlAudioCallback(void *userdata, Uint8 *stream, int len);

 private:
  void close();

  std::unique_ptr<SDLAudioTiming> timing;
  // The format in use; null while closed.
  SDL_AudioSpec *audioSpec = nullptr;
  bool started = false;
  // The callback and timer that start() installed; setCallback and
  // setCallbackTimer take effect at the next start.
  AudioDeviceCallback *runningCallback = nullptr;
  CallbackTimer *runningTimer = nullptr;

  // The conversion buffer, shared by all instances (SDL 1.2 has one device);
  // null while closed. Written by start() and stop() only while SDL is not
  // calling back.
  static float *floatBuffer;
};
