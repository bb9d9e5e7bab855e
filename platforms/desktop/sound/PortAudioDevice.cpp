#include "platforms/desktop/sound/PortAudioDevice.h"

#include "framework/sound/AudioDeviceCallback.h"
#include "framework/sound/CallbackTimer.h"
#include "framework/sound/StereoChannels.h"

#include <portaudio.h>

#include <algorithm>
#include <cstring>

namespace {

// When the block's first frame reaches the output: the stream's own times
// for it where the host gives them, else its reported output latency.
std::chrono::steady_clock::time_point heardAt(const PaStreamCallbackTimeInfo *times, double latency) {
  double ahead = times ? times->outputBufferDacTime - times->currentTime : 0.0;
  // Hosts that keep no such times give 0 for both; none is a second ahead.
  if (!(ahead > 0.0 && ahead < 1.0)) ahead = latency;
  return std::chrono::steady_clock::now() +
         std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(ahead));
}

int portAudioCallback(const void *input, void *output, unsigned long frameCount, const PaStreamCallbackTimeInfo *times,
                      PaStreamCallbackFlags, void *userData) {
  const PortAudioDevice::Running *data = static_cast<const PortAudioDevice::Running *>(userData);
  if (data->callback) data->callback->blockHeardAt(heardAt(times, data->outputLatency));
  float *in = static_cast<float *>(const_cast<void *>(input));
  float *out = static_cast<float *>(output);
  const CallbackTimer::Scope timing(data->timer, static_cast<int>(frameCount));
  if (!data->stereoBlock) {
    if (out) std::memset(out, 0, frameCount * static_cast<unsigned long>(data->outputs) * sizeof(float));
    if (data->callback) data->callback->getAudio(in, out, static_cast<int>(frameCount));
    return paContinue;
  }
  // Another channel count than two: the callback writes stereo pieces into
  // the device's block, which are fitted to the stream's channels.
  for (unsigned long done = 0; done < frameCount;) {
    const int frames = static_cast<int>(std::min<unsigned long>(frameCount - done, PortAudioDevice::StereoBlockFrames));
    std::fill(data->stereoBlock, data->stereoBlock + 2 * frames, 0.0f);
    if (data->callback)
      data->callback->getAudio(in ? in + done * static_cast<unsigned long>(data->inputs) : nullptr, data->stereoBlock,
                               frames);
    StereoChannels::toDevice(data->stereoBlock, out + done * static_cast<unsigned long>(data->outputs), frames,
                             data->outputs);
    done += static_cast<unsigned long>(frames);
  }
  return paContinue;
}

PaStreamParameters defaultDeviceParameters(PaDeviceIndex device, int channels, bool input) {
  PaStreamParameters parameters;
  parameters.device = device;
  parameters.channelCount = channels;
  parameters.sampleFormat = paFloat32;
  const PaDeviceInfo *info = Pa_GetDeviceInfo(device);
  // A sound server's ALSA plugin offers under 10 ms as its low output
  // latency; a moment's wait for the processor then empties the buffer, and
  // the server answers with seconds of silence until it has refilled it.
  const double output =
      info ? std::max(info->defaultHighOutputLatency, PortAudioDevice::MinimumOutputLatencySeconds) : 0.0;
  parameters.suggestedLatency = info ? (input ? info->defaultLowInputLatency : output) : 0.0;
  parameters.hostApiSpecificStreamInfo = nullptr;
  return parameters;
}

}  // namespace

PortAudioDevice::PortAudioDevice() : hostApiType(paCoreAudio) {}

PortAudioDevice::~PortAudioDevice() { stop(); }

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
  const int inputs = settings.numInputs, outputs = settings.numOutputs;
  const PaStreamParameters inputParameters = defaultDeviceParameters(info->defaultInputDevice, inputs, true);
  const PaStreamParameters outputParameters = defaultDeviceParameters(info->defaultOutputDevice, outputs, false);
  if (Pa_IsFormatSupported(nullptr, &outputParameters, settings.samplerate) == paInvalidSampleRate) {
    settings.samplerate = 48000.0;
    Pa_IsFormatSupported(nullptr, &outputParameters, settings.samplerate);
  }

  // Allocated here, never in the callback.
  const bool fitted = outputs > 0 && outputs != 2;
  if (fitted && !stereoBlock) stereoBlock.reset(new float[2 * StereoBlockFrames]);
  running.callback = settings.callback;
  running.timer = settings.callbackTimer;
  running.inputs = inputs;
  running.outputs = outputs;
  running.stereoBlock = fitted ? stereoBlock.get() : nullptr;
  PaStream *opened = nullptr;
  if (Pa_OpenStream(&opened, inputs > 0 ? &inputParameters : nullptr, outputs > 0 ? &outputParameters : nullptr,
                    settings.samplerate, paFramesPerBufferUnspecified, paNoFlag, portAudioCallback,
                    &running) != paNoError) {
    Pa_Terminate();
    return false;
  }
  const PaStreamInfo *streamInfo = Pa_GetStreamInfo(opened);
  running.outputLatency = streamInfo ? streamInfo->outputLatency : 0.0;
  if (Pa_StartStream(opened) != paNoError) {
    Pa_CloseStream(opened);
    Pa_Terminate();
    return false;
  }
  stream = opened;
  started = true;
  return true;
}

double PortAudioDevice::getOutputLatencySeconds() const {
  const PaStreamInfo *info = stream ? Pa_GetStreamInfo(stream) : nullptr;
  return info ? info->outputLatency : 0.0;
}

void PortAudioDevice::stop() {
  if (!started) return;
  Pa_StopStream(stream);
  Pa_CloseStream(stream);
  Pa_Terminate();
  stream = nullptr;
  started = false;
}
