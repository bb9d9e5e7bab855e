#pragma once

#include "framework/sound/AudioClock.h"
#include "framework/sound/SoundFileLoader.h"

#include <array>
#include <atomic>
#include <boost/shared_ptr.hpp>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class PreloadedSound;

// One playback slot of a sounder: plays a sound held in memory as 16-bit
// samples (preloaded) or streamed from its loader through a ring of three
// float decode buffers, and adds it, panned, levelled and faded, into a
// stereo block. Its fade level is also its activity flag: the slot plays
// while the fade level is above 0.
//
// Threads, and how the slot is handed between them without a lock:
// - The main thread configures and starts an idle slot (setFade, setLoop,
//   setPan, setLevel, registerCallback, then one startPlaying). startPlaying
//   writes the new sound and publishes its fade level last; the audio thread
//   reads the fade level first, so it sees either the old idle slot or the
//   fully started one. While a slot plays, the main thread only stores
//   settings (atomics) and posts stop or full-level requests that the audio
//   thread applies at its next block.
// - The audio thread (getAudio) owns the playback state of an active slot and
//   gives it back by storing a fade level of 0 or below.
// - The streaming thread (threadUpdate) refills buffers that playback has
//   handed over through their needs-update flags; while refilling it marks the
//   slot as busy, and a busy slot is not idle, so it is never restarted under
//   the streaming thread's feet. Playback that reaches a buffer not yet
//   refilled does not read it: it plays silence while time goes on, and once
//   the buffer comes it skips what it missed, so that a stream that starved
//   is back in time (with the bar clock, say) within a block. The streaming
//   thread helps: a buffer it refills for playback that has gone past its
//   start begins where playback is due.
// - A stream starts from its first ring buffer, decoded when the sound was
//   loaded; the next two are the streaming thread's first refills. They come
//   in time when the streaming thread has a round within the first buffer's
//   quarter of a second, and the device's blocks are at most a buffer long.
class StreamingSound {
 public:
  static constexpr int NumBuffers = 3;
  // Frames per ring buffer: a quarter of a second at 44100 Hz.
  static constexpr int BufferSize = 11025;

  // The first ring buffer of a streamed sound, decoded when it is loaded:
  // BufferSize interleaved stereo frames.
  using FirstBuffer = std::vector<float>;

  // Told when the end of the sound is reached; called on the audio thread.
  // frame: where on the sounder's clock the sound ended (the frame after its
  // last), to be heard then (AudioClock).
  class Callback {
   public:
    virtual ~Callback() = default;
    virtual void soundFinished(const std::wstring &name, AudioFrame frame) = 0;
  };

  StreamingSound();

  StreamingSound(const StreamingSound &) = delete;
  StreamingSound &operator=(const StreamingSound &) = delete;

  // Main thread. With fade, a start fades in and a stop fades out over 100000
  // frames. Turning fade off on a playing slot cancels a fade-out and plays at
  // full level from its next block; on an idle slot it only takes effect at
  // the next startPlaying.
  void setFade(bool fade);
  // Main thread. The gain: a sound starts at it, and while the sound plays,
  // the level follows a new one by 0.001 per frame.
  void setLevel(float level);
  // Main thread. 0.0 left only, 0.5 centre, 1.0 right only.
  void setPan(float pan);
  // Main thread. Restart at the end instead of stopping.
  void setLoop(bool loop);
  // Main thread. Null for none; not owned.
  void registerCallback(Callback *callback);
  // Any thread: clears the callback if it is this one. Does not wait for a
  // call in progress (the sounders do that).
  void unregisterCallback(Callback *callback);

  // Main thread, idle slot only. Streams from the loader; firstBuffer holds
  // its first BufferSize frames, decoded ahead, and is copied.
  void startPlaying(boost::shared_ptr<SoundFileLoader> loader, const FirstBuffer &firstBuffer);
  // Main thread, idle slot only. Plays a sound from memory (not copied, not
  // owned; must outlive the playing).
  void startPlaying(const PreloadedSound &sound, const std::wstring &name);
  // Main thread. With fade the sound fades away; without, it falls silent at
  // the slot's next block.
  void stopPlaying();

  // Audio thread: adds numSamples (at most BufferSize) stereo frames into output.
  // firstFrame: the place of output's first frame on the sounder's clock,
  // which the callback is told the sound's end by.
  void getAudio(float *output, int numSamples, AudioFrame firstFrame = 0);
  // Streaming thread (any thread but the audio thread; concurrent callers
  // skip a slot that another is refilling): refills, in ring order, up to
  // maxBuffers of the buffers that playback has finished with.
  void threadUpdate(int maxBuffers = NumBuffers);

  // Any thread: the slot is playing (its fade level is above 0).
  bool isActive() const;
  // Main thread: the slot may be started (not playing, not being refilled).
  bool isIdle() const;
  // Main thread: counts startPlaying calls, so a sounder can tell whether a
  // slot still plays the sound it started there.
  unsigned getStartCount() const { return startCount; }
  // Any thread: frames of streamed sound that played as silence because
  // their buffer had not been refilled in time, over the slot's life.
  long long getMissedFrames() const { return missedFrames.load(std::memory_order_relaxed); }

 private:
  enum Request : unsigned { RestoreRequest = 1, FadeOutRequest = 2, CutRequest = 4 };

  using Buffer = std::array<float, BufferSize * 2>;

  void begin(float startFade);
  void postRequest(unsigned request, unsigned cancels);
  float applyRequests(float fade);
  // Source samples are floats (the ring) or 16-bit samples times
  // sampleScale (preloaded); null plays silence.
  template <typename Sample>
  int play(const Sample *source, float sampleScale, float *output, int frames, float &fade, float halfLeft,
           float halfRight, float target);
  // Audio thread: moves the ring cursor on, handing a finished buffer over.
  void advance(int frames);
  // Audio thread: skips in the ring what playback missed while it waited.
  // False while the buffer it needs has not been refilled.
  bool catchUp();
  void finished(AudioFrame frame);
  void refill(int index);
  int fillFromStart(float *buffer, int filled);

  // Settings: written by the main thread at any time, read once per block.
  std::atomic<bool> fade{false};
  std::atomic<bool> loop{false};
  std::atomic<float> pan{0.5f};
  std::atomic<float> targetLevel{1.0f};
  std::atomic<Callback *> callback{nullptr};
  // Requests to the audio thread, a set of Request bits.
  std::atomic<unsigned> requests{0};

  // The hand-over points described above.
  std::atomic<float> fadeLevel{0.0f};
  std::atomic<bool> refilling{false};
  std::array<std::atomic<bool>, NumBuffers> needsUpdate;

  // The sound, written by startPlaying on an idle slot.
  boost::shared_ptr<SoundFileLoader> loader;
  const std::int16_t *preloadedSamples = nullptr;
  float preloadedScale = 0.0f;
  std::wstring name;
  // Frames.
  long long length = 0;
  unsigned startCount = 0;

  // Playback state, owned by the audio thread while the slot plays.
  int currentBuffer = 0;
  int bufferIndex = 0;
  long long playPosition = 0;
  // Frames since the start, played or missed.
  long long streamFrame = 0;
  float level = 1.0f;
  bool fadingOut = false;

  // Where playback has got to (streamFrame), for the streaming thread.
  std::atomic<long long> dueFrame{0};
  // Written by the audio thread alone.
  std::atomic<long long> missedFrames{0};

  // Streaming state, owned by the streaming thread while the slot plays.
  long long readPosition = 0;
  // The stream frame that the next refilled buffer starts at.
  long long nextStart = 0;
  int nextRefill = 0;
  bool sourceEnded = false;

  // The decode ring; each buffer, and the stream frame it starts at, is
  // owned by playback or by the streaming thread as its needs-update flag says.
  // The ring's 258 KiB are allocated by the slot's first stream (on the main
  // thread, the slot idle) and kept for the next: a game streams a few sounds
  // at once, and a page's memory is real memory from the moment it is taken.
  std::array<long long, NumBuffers> bufferStart{};
  std::unique_ptr<std::array<Buffer, NumBuffers>> buffers;
};
