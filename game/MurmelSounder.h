#pragma once

#include "framework/sound/FileSounder.h"
#include "framework/sound/InterestingNoise.h"
#include "framework/sound/StuckBuffer.h"

#include <atomic>
#include <string>

// The game's sounder. On top of the file machinery it plays looping
// instruments that fade in and out, one-shot spoken passages, a looping music
// track whose start also starts a bar clock, and the synthesised noise bed
// under everything, ducked while any file sound plays. The mix, per block:
// the bar clock, then the slots, then the noise bed, then each sample is
// clamped to -1 .. 1 and scaled by 0.75. setMute (the application's "mute"
// flag) zeroes the finished mix while clocks, slots and callbacks run on. Its
// streaming thread is named "Murmel Worlds Sounder".
//
// Every operation but getAudio is for the main thread. barStart() and
// soundFinished() are called on the audio thread.
class MurmelSounder final : public FileSounder {
 public:
  // Told at the start of every bar (every 44100 frames) once the music has
  // been asked for. Called on the audio thread, before the block holding the
  // bar's first frame is mixed; frame is that frame's place on the sounder's
  // clock, to be heard then (AudioClock).
  class Callback {
   public:
    virtual ~Callback() = default;
    virtual void barStart(AudioFrame frame) = 0;
  };

  // Frames per bar.
  static constexpr int BarLength = 44100;
  static constexpr float InstrumentLevel = 0.66f;
  static constexpr float TriggeredLevel = 4.0f;
  static constexpr float MusicLevel = 1.5f;
  static constexpr float MasterGain = 0.75f;

  MurmelSounder();
  ~MurmelSounder() override;

  // Starts an instrument: looping, fading in over 100000 frames, at level
  // 0.66. Returns a handle (0 or more) to this start of it, or -1 for an
  // unknown name or a full pool.
  int activateSound(const std::wstring &name);
  // Fades out the instrument that activateSound's handle names. Ignores
  // values that are no handle, and handles whose instrument has ended, even
  // when another sound now plays on its slot.
  void deactivateSound(int handle);
  // Plays a sound once at level 4 (the spoken passages), at once; the
  // callback, if any, gets soundFinished(name) at its end. Not owned; remove
  // it with unregisterCallback before destroying it.
  void triggerSound(const std::wstring &name, float pan, StreamingSound::Callback *callback);
  // Silences the latest triggered sound at once, if it is still playing.
  void killTriggered();
  // Starts the named sound looping at level 1.5 as the music, and in every
  // case the bar clock. An earlier music keeps playing.
  void playMusic(const std::wstring &name);
  // Fades the music out; does nothing before the first successful playMusic.
  void stopMusic();
  // The noise bed's level.
  void setNoiseLevel(float level);
  // Stops mixing the noise bed for good.
  void killNoise();
  // The stuck buffer is built but never mixed; this clears its flag.
  void killStuckBuffer();
  // Fades out every playing slot.
  void killAllSounds();
  // Sets the bar callback (not owned). Returns only when no call into the
  // previous callback is still running on the audio thread, so
  // setCallback(nullptr) in the callback's destructor is safe.
  void setCallback(Callback *callback);

 protected:
  void mix(float *input, float *output, int numSamples, AudioFrame firstFrame) override;

 private:
  InterestingNoise noise;
  StuckBuffer stuckBuffer;
  SlotHandle music;
  std::atomic<bool> noiseOn{true};
  bool stuckBufferOn = false;
  std::atomic<Callback *> callback{nullptr};
  std::atomic<bool> barClockRunning{false};
  // Frames of the current bar so far; audio thread only.
  int barFrame = 0;
  SlotHandle lastTriggered;
};
