#include "platforms/SDL1.2Backend/SDL1.2AudioDevice.h"

#include "base/Assertion.h"
#include "platforms/SDL1.2Backend/SDLQueueTiming.h"
#include "framework/sound/AudioDeviceCallback.h"
#include "framework/sound/CallbackTimer.h"
#include "framework/sound/StereoChannels.h"

#include <SDL/SDL.h>

#include <algorithm>
#include <cstdint>

float *SDL1_2AudioDevice::floatBuffer = nullptr;

namespace {

constexpr Uint16 deviceFormat = AUDIO_S16LSB;

float sampleToFloat(const Uint8 *bytes) {
  const int16_t sample = static_cast<int16_t>(static_cast<uint16_t>(bytes[0] | (bytes[1] << 8)));
  return static_cast<float>(sample / 32767.0);
}

void floatToSample(float value, Uint8 *bytes) {
  // Not-a-number would make the conversion below undefined: it becomes silence.
  if (value > 1.0f)
    value = 1.0f;
  else if (value < -1.0f)
    value = -1.0f;
  else if (value != value)
    value = 0.0f;
  // The conversion truncates toward zero: 0.99999 becomes 32766, not 32767.
  const int sample = static_cast<int>(value * 32767.0);
  const uint16_t bits = static_cast<uint16_t>(sample);
  bytes[0] = static_cast<Uint8>(bits & 0xff);
  bytes[1] = static_cast<Uint8>(bits >> 8);
}

}  // namespace

SDL1_2AudioDevice::SDL1_2AudioDevice(std::unique_ptr<SDLAudioTiming> timing)
    : timing(timing ? std::move(timing) : std::make_unique<SDLQueueTiming>()) {}

SDL1_2AudioDevice::~SDL1_2AudioDevice() { stop(); }

void SDL1_2AudioDevice::sdlAudioCallback(void *userdata, Uint8 *stream, int len) {
  SDL1_2AudioDevice *device = static_cast<SDL1_2AudioDevice *>(userdata);
  // The obtained channel count, fixed while the device runs.
  const int channels = device->audioSpec->channels;
  const int frames = (len / 2) / channels;
  // The conversions both ways are part of the device's time.
  const CallbackTimer::Scope timing(device->runningTimer, frames);
  for (int frame = 0; frame < frames; ++frame) {
    const Uint8 *samples = stream + 2 * frame * channels;
    floatBuffer[2 * frame] = sampleToFloat(samples + 2 * StereoChannels::fromDevice(0, channels));
    floatBuffer[2 * frame + 1] = sampleToFloat(samples + 2 * StereoChannels::fromDevice(1, channels));
  }
  device->runningCallback->blockHeardAt(device->timing->blockHeardAt(frames, device->audioSpec->freq));
  device->runningCallback->getAudio(floatBuffer, floatBuffer, frames);
  for (int frame = 0; frame < frames; ++frame) {
    Uint8 *samples = stream + 2 * frame * channels;
    for (int channel = 0; channel < channels; ++channel)
      floatToSample(StereoChannels::toDevice(floatBuffer + 2 * frame, channel, channels), samples + 2 * channel);
  }
}

void SDL1_2AudioDevice::close() {
  SDL_CloseAudio();
  delete audioSpec;
  audioSpec = nullptr;
  delete[] floatBuffer;
  floatBuffer = nullptr;
}

void SDL1_2AudioDevice::stop() {
  if (!started) return;
  SDL_PauseAudio(1);
  close();
  started = false;
}

// The obtained format, which start() adopts, is what SDL actually opened.
bool SDL1_2AudioDevice::start() {
  AudioDeviceCallback *callback = settings.callback;
  MW_ASSERT(callback);
  if (started) return false;
  if (audioSpec) close();

  SDL_AudioSpec desired = {};
  desired.freq = static_cast<int>(settings.samplerate);
  desired.format = deviceFormat;
  desired.channels = static_cast<Uint8>(std::max(settings.numInputs, settings.numOutputs));
  desired.samples = static_cast<Uint16>(timing->framesPerBlock());
  desired.callback = sdlAudioCallback;
  desired.userdata = this;

  SDL_AudioSpec *obtained = new SDL_AudioSpec();
  timing->beforeOpen();
  if (SDL_OpenAudio(&desired, obtained) == -1) {
    delete obtained;
    return false;
  }
  // sdlAudioCallback converts 16-bit little-endian samples only.
  if (obtained->format != deviceFormat || obtained->channels == 0) {
    SDL_CloseAudio();
    delete obtained;
    return false;
  }
  // SDL's audio thread exists from here on; what it reads is written under
  // SDL's audio lock.
  SDL_LockAudio();
  audioSpec = obtained;
  settings.numInputs = audioSpec->channels;
  settings.numOutputs = audioSpec->channels;
  settings.samplerate = audioSpec->freq;
  // Stereo frames, as many as a callback's buffer holds. Counted from the
  // frames, since emscripten's SDL leaves the obtained size in bytes unset.
  floatBuffer = new float[2 * static_cast<size_t>(audioSpec->samples)]();
  runningCallback = callback;
  runningTimer = settings.callbackTimer;
  SDL_UnlockAudio();

  SDL_PauseAudio(0);
  started = true;
  return true;
}
