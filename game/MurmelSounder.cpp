#include "game/MurmelSounder.h"

#include "framework/sound/Floats4.h"

MurmelSounder::MurmelSounder() : FileSounder("Murmel Worlds Sounder") { startThread(this); }

MurmelSounder::~MurmelSounder() { stopStreaming(); }

int MurmelSounder::activateSound(const std::wstring &name) {
  // The pan is left as the slot last had it.
  const int slot = startSound(name, [](StreamingSound &sound) {
    sound.setFade(true);
    sound.setLoop(true);
    sound.setLevel(InstrumentLevel);
    sound.registerCallback(nullptr);
  });
  return slot < 0 ? -1 : toInt(handleOf(slot));
}

void MurmelSounder::deactivateSound(int handle) {
  const SlotHandle instrument = fromInt(handle);
  if (!isCurrent(instrument) || !getSlot(instrument.slot).isActive()) return;
  StreamingSound &sound = getSlot(instrument.slot);
  sound.setFade(true);
  sound.stopPlaying();
}

void MurmelSounder::triggerSound(const std::wstring &name, float pan, StreamingSound::Callback *callback) {
  const int slot = startSound(name, [pan, callback](StreamingSound &sound) {
    sound.setFade(false);
    sound.setLoop(false);
    sound.setPan(pan);
    sound.setLevel(TriggeredLevel);
    sound.registerCallback(callback);
  });
  if (slot >= 0) lastTriggered = handleOf(slot);
}

void MurmelSounder::killTriggered() {
  if (lastTriggered.slot < 0) return;
  // Started without fade, so it falls silent at once.
  if (isCurrent(lastTriggered)) getSlot(lastTriggered.slot).stopPlaying();
  lastTriggered = SlotHandle();
}

void MurmelSounder::playMusic(const std::wstring &name) {
  // The pan is left as the slot last had it; an earlier music plays on.
  const int slot = startSound(name, [](StreamingSound &sound) {
    sound.setFade(false);
    sound.setLoop(true);
    sound.setLevel(MusicLevel);
    sound.registerCallback(nullptr);
  });
  if (slot >= 0) music = handleOf(slot);
  barClockRunning.store(true, std::memory_order_relaxed);
}

void MurmelSounder::stopMusic() {
  if (!isCurrent(music)) return;
  StreamingSound &sound = getSlot(music.slot);
  sound.setFade(true);
  sound.stopPlaying();
}

void MurmelSounder::setNoiseLevel(float level) { noise.setLevel(level); }

void MurmelSounder::killNoise() { noiseOn.store(false, std::memory_order_relaxed); }

void MurmelSounder::killStuckBuffer() { stuckBufferOn = false; }

void MurmelSounder::killAllSounds() {
  for (int slot = 0; slot < NumSlots; ++slot) {
    StreamingSound &sound = getSlot(slot);
    if (!sound.isActive()) continue;
    sound.setFade(true);
    sound.setLevel(1.0f);
    sound.stopPlaying();
  }
}

void MurmelSounder::setCallback(Callback *newCallback) {
  Callback *previous = callback.exchange(newCallback, std::memory_order_seq_cst);
  if (previous && previous != newCallback) waitForBlock();
}

void MurmelSounder::mix(float *, float *output, int numSamples, AudioFrame firstFrame) {
  // The whole block's clock runs before any of its sound is mixed. Frames are
  // counted, not fractions summed, so bars stay exactly 44100 frames long and
  // in step with music of whole bars.
  if (barClockRunning.load(std::memory_order_relaxed)) {
    int frames = numSamples;
    while (frames >= BarLength - barFrame) {
      frames -= BarLength - barFrame;
      barFrame = 0;
      Callback *listener = callback.load(std::memory_order_seq_cst);
      if (listener) listener->barStart(firstFrame + (numSamples - frames));
    }
    barFrame += frames;
  }

  const bool anyActive = mixSlots(output, numSamples, firstFrame);
  if (noiseOn.load(std::memory_order_relaxed)) {
    noise.setAttenuate(anyActive);
    noise.getAudio(output, numSamples);
  }

  // Clipped, then scaled; NaN passes as NaN. Two frames at a time.
  int i = 0;
  for (; i + 4 <= 2 * numSamples; i += 4) {
    Floats4 value = loadFloats4(output + i);
    value = value > 1.0f ? 1.0f : (value < -1.0f ? -1.0f : value);
    storeFloats4(output + i, value * MasterGain);
  }
  for (; i < 2 * numSamples; ++i)
    output[i] = (output[i] > 1.0f ? 1.0f : (output[i] < -1.0f ? -1.0f : output[i])) * MasterGain;
}
