#include "framework/sound/AudioStandIn.h"

#include <algorithm>

constexpr std::chrono::milliseconds AudioStandIn::Silence;
constexpr std::chrono::milliseconds AudioStandIn::LongestFrame;
constexpr std::chrono::milliseconds AudioStandIn::Return;
constexpr std::chrono::milliseconds AudioStandIn::ReturnPause;

AudioStandIn::AudioStandIn(AudioDeviceCallback &mixer) : mixer(mixer) { silentClock.setCallback(&relay); }

AudioStandIn::~AudioStandIn() { stop(); }

void AudioStandIn::setFormat(int numInputs, int numOutputs, double samplerate) {
  silentClock.setNumChannels(numInputs, numOutputs);
  silentClock.setSamplerate(samplerate);
}

void AudioStandIn::blockHeardAt(Clock::time_point heardAt) { deviceHeardAt = heardAt; }

void AudioStandIn::getAudio(float *input, float *output, int numSamples) {
  fromDevice.fetch_add(1, std::memory_order_release);
  mix(false, deviceHeardAt, input, output, numSamples);
}

void AudioStandIn::mix(bool fromStandIn, Clock::time_point heardAt, float *input, float *output, int numSamples) {
  // Not this source's turn, or the other's block is still being mixed: the
  // block stays as silent as it came.
  if (standInsTurn.load(std::memory_order_acquire) != fromStandIn) return;
  if (mixing.exchange(true, std::memory_order_acquire)) return;
  mixer.blockHeardAt(heardAt);
  mixer.getAudio(input, output, numSamples);
  mixing.store(false, std::memory_order_release);
}

bool AudioStandIn::watch(Clock::time_point now) {
  const long long blocks = deviceBlocks();
  const Clock::duration sinceLast = watched ? std::min<Clock::duration>(now - lastWatch, LongestFrame) : Clock::duration();
  watched = true;
  lastWatch = now;
  if (blocks != blocksSeen) {
    blocksSeen = blocks;
    askingFor += sinceLast;
    silentFor = Clock::duration();
  } else {
    silentFor += sinceLast;
    if (silentFor >= ReturnPause) askingFor = Clock::duration();
  }
  if (!standingIn && silentFor >= Silence) {
    start();
  } else if (standingIn && askingFor >= Return) {
    stop();
  }
  return standingIn;
}

void AudioStandIn::start() {
  askingFor = Clock::duration();
  standInsTurn.store(true, std::memory_order_release);
  standingIn = silentClock.start();
  if (!standingIn) standInsTurn.store(false, std::memory_order_release);
}

void AudioStandIn::stop() {
  if (!standingIn) return;
  // Once the silent clock has stopped, none of its blocks is being mixed.
  silentClock.stop();
  standInsTurn.store(false, std::memory_order_release);
  standingIn = false;
  silentFor = Clock::duration();
}
