#include "sound/GenericFileSounder.h"

GenericFileSounder::GenericFileSounder() : FileSounder("GenericFileSounder") { startThread(this); }

GenericFileSounder::~GenericFileSounder() { stopStreaming(); }

void GenericFileSounder::mix(float *, float *output, int numSamples) { mixSlots(output, numSamples); }

void GenericFileSounder::triggerSound(const std::wstring &name, float pan) {
  if (!isKnown(name)) return;
  const int slot = findIdleSlot();
  if (slot < 0) return;
  StreamingSound &sound = getSlot(slot);
  sound.setFade(false);
  sound.setLoop(false);
  sound.setPan(pan);
  startSound(slot, name);
}

void GenericFileSounder::playMusic(const std::wstring &name) {
  if (!isKnown(name)) return;
  if (isCurrent(music)) getSlot(music.slot).stopPlaying();
  const int slot = findIdleSlot();
  if (slot < 0) return;
  // The pan is left as the slot last had it.
  StreamingSound &sound = getSlot(slot);
  sound.setFade(true);
  sound.setLoop(true);
  startSound(slot, name);
  music = handleOf(slot);
}
