#include "framework/sound/GenericFileSounder.h"

GenericFileSounder::GenericFileSounder() : FileSounder("GenericFileSounder") { startThread(this); }

GenericFileSounder::~GenericFileSounder() { stopStreaming(); }

void GenericFileSounder::mix(float *, float *output, int numSamples, AudioFrame firstFrame) {
  mixSlots(output, numSamples, firstFrame);
}

void GenericFileSounder::triggerSound(const std::wstring &name, float pan) {
  startSound(name, [pan](StreamingSound &sound) {
    sound.setFade(false);
    sound.setLoop(false);
    sound.setPan(pan);
  });
}

void GenericFileSounder::playMusic(const std::wstring &name) {
  if (!isKnown(name)) return;
  if (isCurrent(music)) getSlot(music.slot).stopPlaying();
  // The pan is left as the slot last had it.
  const int slot = startSound(name, [](StreamingSound &sound) {
    sound.setFade(true);
    sound.setLoop(true);
  });
  if (slot >= 0) music = handleOf(slot);
}
