#pragma once

#include "base/Thread.h"
#include "framework/sound/MixFence.h"
#include "framework/sound/PreloadedSound.h"
#include "framework/sound/Sounder.h"
#include "framework/sound/StreamingSound.h"

#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>

// The machinery of the sounders that play named sound files: the map of
// every loaded file and the map of short files decoded into memory (16-bit,
// see PreloadedSound), a pool of 128 playback slots, loading, the streaming
// thread that refills the slots' rings every 62 ms, the mute switch, and the
// fence that lets callbacks be removed safely. A sound's name is its file name without folder and
// extension; the first file loaded under a name wins.
//
// Threads: the main thread loads and starts sounds, the audio thread calls
// getAudio, the streaming thread calls step. The maps are filled at load time
// on the main thread and read only there. Slots are handed between the
// threads as StreamingSound describes, without a lock; the only lock keeps
// refill passes apart (see passLock) and is never near the audio thread.
//
// Derived classes call startThread(this) at the end of their constructor and
// stopStreaming() first thing in their destructor.
class FileSounder : public Sounder, public Thread {
 public:
  static constexpr int NumSlots = 128;
  // Files of this many frames or more are streamed, shorter ones preloaded.
  static constexpr long long StreamingThreshold = 88200;
  static constexpr int ThreadPeriodMs = 62;

  ~FileSounder() override;

  // Audio thread: the derived class's mix, then the mute switch. Blocks
  // longer than one ring buffer are fine, except that a stream has only its
  // first buffer until the streaming thread's next pass.
  void getAudio(float *input, float *output, int numSamples) final;
  // Main thread. Streamed files get their first ring buffer decoded now so
  // that they start at once (the streaming thread decodes the rest while it
  // plays); short files are decoded completely. A file that cannot play at
  // the device's rate (ResamplingLoader::toRate) is left out.
  void loadSoundFileResource(boost::shared_ptr<SoundFileLoader> loader) final;
  // One round of the streaming thread: updateStreams, then 62 ms until the
  // next, until the sounder stops.
  int step() final;

  // One pass of the streaming thread: refills the rings of the playing slots,
  // every slot's next buffer before any slot's second, so that sounds just
  // started are not kept waiting behind others. Public for hosts and tests
  // that drive the sounder themselves; beside the streaming thread a pass
  // waits for the other's to end. Never on the audio thread: it decodes.
  void updateStreams();
  // Main thread: removes the callback from every slot holding it, and returns
  // only when no call into it is still running on the audio thread. Call it
  // before destroying a StreamingSound::Callback that was given to a sound.
  void unregisterCallback(StreamingSound::Callback *callback);
  void setMute(bool mute) final { muted.store(mute, std::memory_order_relaxed); }
  bool isMuted() const final { return muted.load(std::memory_order_relaxed); }

  // Main thread, before loading: files of this many frames or more are
  // streamed. Hosts that mix many long sounds from memory (a benchmark, say)
  // raise it.
  void setStreamingThreshold(long long frames) { streamingThreshold = frames; }

  // Main thread: whether a sound of that name was loaded.
  bool isKnown(const std::wstring &name) const;
  // Main thread: whether it was loaded to be streamed rather than played
  // from memory.
  bool isStreamed(const std::wstring &name) const;
  // Any thread: how many slots are playing right now.
  int getNumActiveSlots() const;
  // Any thread: frames of streamed sound that every slot together played as
  // silence because the streaming thread fell behind, since the start.
  long long getMissedFrames() const;

  // One start of a sound on a slot, so that a later stop reaches that sound
  // and not whatever was started on the slot after it ended.
  struct SlotHandle {
    int slot = -1;
    unsigned start = 0;
  };
  // A handle as one int of 0 or more, for callers that keep an int, and back;
  // a negative int is no handle. The int keeps the low 23 bits of the start,
  // so a handle is mistaken for a later start only after 8388608 more starts
  // on its slot.
  static int toInt(const SlotHandle &handle);
  static SlotHandle fromInt(int handle);

 protected:
  explicit FileSounder(const std::string &threadName);

  // Ends the streaming thread: a refill pass under way finishes, and no
  // other starts.
  void stopStreaming();

  // Audio thread: the sounder's signal for one block, added into output;
  // firstFrame is the block's place on the sounder's clock.
  virtual void mix(float *input, float *output, int numSamples, AudioFrame firstFrame) = 0;
  // Audio thread: every playing slot in index order, in pieces of at most one
  // ring buffer. True when any slot was playing.
  bool mixSlots(float *output, int numSamples, AudioFrame firstFrame);
  // Main thread: waits until the block in progress, if any, has ended.
  void waitForBlock() const { fence.waitForBlock(); }

  // Main thread: starts a known sound on the lowest-index idle slot, from
  // memory if it was preloaded, else streamed; configure(StreamingSound &)
  // sets the slot up first. The slot's index, or -1 for an unknown name or
  // when every slot is busy.
  template <typename Configure>
  int startSound(const std::wstring &name, Configure configure) {
    if (!isKnown(name)) return -1;
    const int slot = findIdleSlot();
    if (slot < 0) return -1;
    configure(getSlot(slot));
    startConfiguredSlot(slot, name);
    return slot;
  }
  StreamingSound &getSlot(int slot) { return slots[static_cast<size_t>(slot)]; }

  SlotHandle handleOf(int slot) const;
  bool isCurrent(const SlotHandle &handle) const;

 private:
  int findIdleSlot() const;
  void startConfiguredSlot(int slot, const std::wstring &name);

  // Every loaded file: its loader and, for one played streamed, its first
  // ring buffer, decoded at load time so that it starts at once.
  struct StreamedSound {
    boost::shared_ptr<SoundFileLoader> loader;
    StreamingSound::FirstBuffer firstBuffer;
  };

  std::map<std::wstring, StreamedSound> streamedSounds;
  std::map<std::wstring, PreloadedSound> preloadedSounds;
  long long streamingThreshold = StreamingThreshold;
  std::array<StreamingSound, NumSlots> slots;
  // One refill pass at a time: slots playing the same sound share its loader,
  // which decodes for one thread at a time. Contended only when a host or a
  // test drives updateStreams beside the streaming thread; never taken on the
  // audio thread.
  std::mutex passLock;
  std::atomic<bool> muted{false};
  MixFence fence;
};
