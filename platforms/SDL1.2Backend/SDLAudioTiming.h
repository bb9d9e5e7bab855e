#pragma once

#include <chrono>

// When the blocks SDL's audio asks for are heard, which depends on what lies
// under SDL (a sound server's queue, a browser's Web Audio schedule): the
// one place per platform that knows. SDL1_2AudioDevice asks it for every
// block and tells its client (AudioDeviceCallback::blockHeardAt).
class SDLAudioTiming {
 public:
  using Clock = std::chrono::steady_clock;

  virtual ~SDLAudioTiming() = default;

  // Main thread, before SDL opens its audio: the frames per block to ask for.
  virtual int framesPerBlock() const = 0;
  // Main thread, right before SDL opens its audio.
  virtual void beforeOpen() {}
  // SDL's audio thread, at every callback before the block is mixed: when
  // its first frame will be heard. frames: the block's length; rate: frames
  // a second.
  virtual Clock::time_point blockHeardAt(int frames, double rate) = 0;
};
