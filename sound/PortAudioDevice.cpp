#include "sound/PortAudioDevice.h"

#include "sound/AudioDeviceCallback.h"

#include <portaudio.h>

#include <cstring>

namespace {

int portAudioCallback(const void *input, void *output, unsigned long frameCount, const PaStreamCallbackTimeInfo *,
                      PaStreamCallbackFlags, void *userData) {
  const PortAudioDevice::Running *data = static_cast<const PortAudioDevice::Running *>(userData);
  float *out = static_cast<float *>(output);
  // Exactly the stream's output floats: a one-channel stream has no room for two.
  if (out) std::memset(out, 0, frameCount * static_cast<unsigned long>(data->outputs) * sizeof(float));
  if (data->callback)
    data->callback->getAudio(static_cast<float *>(const_cast<void *>(input)), out, static_cast<int>(frameCount));
  return paContinue;
}

PaStreamParameters defaultDeviceParameters(PaDeviceIndex device, int channels, bool input) {
  PaStreamParameters parameters;
  parameters.device = device;
  parameters.channelCount = channels;
  parameters.sampleFormat = paFloat32;
  const PaDeviceInfo *info = Pa_GetDeviceInfo(device);
  parameters.suggestedLatency = info ? (input ? info->defaultLowInputLatency : info->defaultLowOutputLatency) : 0.0;
  parameters.hostApiSpecificStreamInfo = nullptr;
  return parameters;
}

}  // namespace

PortAudioDevice::PortAudioDevice() : hostApiType(paCoreAudio) {}

PortAudioDevice::~PortAudioDevice() { stop(); }

void PortAudioDevice::setNumChannels(int inputs, int outputs) {
  numInputs = inputs;
  numOutputs = outputs;
}

void PortAudioDevice::setAPI(const std::wstring &api) {
  static const struct {
    const wchar_t *name;
    PaHostApiTypeId type;
  } apis[] = {{L"DirectSound", paDirectSound}, {L"ASIO", paASIO}, {L"MME", paMME},   {L"WDM", paWDMKS},
              {L"WASAPI", paWASAPI},           {L"ALSA", paALSA}, {L"JACK", paJACK}, {L"OSS", paOSS}};
  hostApiType = paCoreAudio;
  for (const auto &entry : apis) {
    if (api == entry.name) {
      hostApiType = entry.type;
      return;
    }
  }
}

bool PortAudioDevice::start() {
  if (started || Pa_Initialize() != paNoError) return false;
  // Every failure from here on balances the Pa_Initialize above.
  const PaHostApiIndex index = Pa_HostApiTypeIdToHostApiIndex(static_cast<PaHostApiTypeId>(hostApiType));
  if (index < 0) {
    Pa_Terminate();
    return false;
  }
  const PaHostApiInfo *info = Pa_GetHostApiInfo(index);
  if (!info) {
    Pa_Terminate();
    return false;
  }
  const PaStreamParameters inputParameters = defaultDeviceParameters(info->defaultInputDevice, numInputs, true);
  const PaStreamParameters outputParameters = defaultDeviceParameters(info->defaultOutputDevice, numOutputs, false);
  if (Pa_IsFormatSupported(nullptr, &outputParameters, samplerate) == paInvalidSampleRate) {
    samplerate = 48000.0;
    Pa_IsFormatSupported(nullptr, &outputParameters, samplerate);
  }

  running.callback = callback;
  running.outputs = numOutputs;
  PaStream *opened = nullptr;
  if (Pa_OpenStream(&opened, numInputs > 0 ? &inputParameters : nullptr, numOutputs > 0 ? &outputParameters : nullptr,
                    samplerate, paFramesPerBufferUnspecified, paNoFlag, portAudioCallback, &running) != paNoError) {
    Pa_Terminate();
    return false;
  }
  if (Pa_StartStream(opened) != paNoError) {
    Pa_CloseStream(opened);
    Pa_Terminate();
    return false;
  }
  stream = opened;
  started = true;
  return true;
}

void PortAudioDevice::stop() {
  if (!started) return;
  Pa_StopStream(stream);
  Pa_CloseStream(stream);
  Pa_Terminate();
  stream = nullptr;
  started = false;
}
