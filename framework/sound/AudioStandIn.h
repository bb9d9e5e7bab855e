#pragma once

#include "framework/sound/AudioDeviceCallback.h"
#include "framework/sound/SilentClockAudioDevice.h"

#include <atomic>
#include <chrono>

// Keeps the sound's time going when the audio device stops asking for
// blocks (a browser's audio context held suspended, a sound server that
// went away): the introduction must still end, bars come and sounds finish
// on time, or the game would wait for ever for sound that cannot play. The
// host's main loop watches once a frame; after half a second of frames with
// no block from the device, a silent clock asks for the blocks at real time
// instead, and once the device has asked again for a quarter of a second (a
// burst that only fills its queue, as a browser's held context takes, is no
// return) it has them back. Both hand the
// same mixer their blocks, so the mix goes on from where it was: no jump.
//
// Threads: the device calls blockHeardAt and getAudio on its audio thread,
// the silent clock on a thread of its own, watch runs on the main thread.
// The two never mix at once: a block takes the mix through one atomic flag
// (its release and acquire hand the mixer's state over), and a block that
// finds it taken, or that is not its source's turn, stays silent.
class AudioStandIn final : public AudioDeviceCallback {
 public:
  using Clock = std::chrono::steady_clock;

  // Frames with no block from the device for this long start the stand-in.
  static constexpr std::chrono::milliseconds Silence{500};
  // A frame comes this long after the last at most, as far as the watch
  // counts: a pause of the whole program (a hidden tab) is no silence.
  static constexpr std::chrono::milliseconds LongestFrame{100};
  // The device has asked again, with no pause longer than ReturnPause, for
  // this long: it has the mix back.
  static constexpr std::chrono::milliseconds Return{250};
  static constexpr std::chrono::milliseconds ReturnPause{200};

  // mixer: hears blockHeardAt and getAudio for every block from whichever
  // source has the turn (not owned; outlives this).
  explicit AudioStandIn(AudioDeviceCallback &mixer);
  ~AudioStandIn() override;

  AudioStandIn(const AudioStandIn &) = delete;
  AudioStandIn &operator=(const AudioStandIn &) = delete;

  // Main thread, before the device starts: the stand-in's channels and rate.
  void setFormat(int numInputs, int numOutputs, double samplerate);

  // The device's audio thread: its block and when it is heard.
  void blockHeardAt(Clock::time_point heardAt) override;
  void getAudio(float *input, float *output, int numSamples) override;

  // Main thread, once a frame: starts or stops standing in. True while
  // standing in.
  bool watch(Clock::time_point now);
  // Main thread: stops standing in (before the mixer goes); the next watch
  // may start again.
  void stop();
  // Main thread: the silent clock keeps the time now.
  bool isStandingIn() const { return standingIn; }
  // Any thread: the blocks the device has asked for so far.
  long long deviceBlocks() const { return fromDevice.load(std::memory_order_acquire); }

 private:
  // The silent clock's blocks.
  class Relay final : public AudioDeviceCallback {
   public:
    explicit Relay(AudioStandIn &owner) : owner(owner) {}
    void blockHeardAt(Clock::time_point heardAt) override { this->heardAt = heardAt; }
    void getAudio(float *input, float *output, int numSamples) override {
      owner.mix(true, heardAt, input, output, numSamples);
    }

   private:
    AudioStandIn &owner;
    Clock::time_point heardAt;
  };

  // A block from one source: mixed when it is that source's turn and the mix is free.
  void mix(bool fromStandIn, Clock::time_point heardAt, float *input, float *output, int numSamples);
  void start();

  AudioDeviceCallback &mixer;
  Relay relay{*this};
  SilentClockAudioDevice silentClock;
  // Whose turn it is: the silent clock's while standing in. Written by the main thread.
  std::atomic<bool> standInsTurn{false};
  // Taken by the block being mixed.
  std::atomic<bool> mixing{false};
  std::atomic<long long> fromDevice{0};
  // The device's reckoning for its next block; its audio thread only.
  Clock::time_point deviceHeardAt;

  // The main thread's watch.
  bool standingIn = false;
  bool watched = false;
  Clock::time_point lastWatch;
  long long blocksSeen = 0;
  Clock::duration silentFor{};
  Clock::duration askingFor{};
};
