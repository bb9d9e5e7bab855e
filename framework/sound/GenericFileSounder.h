#pragma once

#include "framework/sound/FileSounder.h"

#include <string>

// The framework's ready-made sounder: plays any loaded sound by name, once or
// as the looping music track, on 128 slots. No master gain and no clipping:
// the audio device clips. Its streaming thread is named "GenericFileSounder".
class GenericFileSounder final : public FileSounder {
 public:
  GenericFileSounder();
  ~GenericFileSounder() override;

  // Main thread. Plays a sound once at full level; pan 0.0 is left only,
  // 0.5 centre, 1.0 right only. Unknown names and a full pool are ignored.
  void triggerSound(const std::wstring &name, float pan);
  // Main thread. Fades the current music out and the named sound in, looping.
  void playMusic(const std::wstring &name);

 protected:
  void mix(float *input, float *output, int numSamples, AudioFrame firstFrame) override;

 private:
  SlotHandle music;
};
