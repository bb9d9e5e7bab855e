#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Times every call of an audio device's callback, for soak runs and
// profiling. An audio device that is given a timer records how long each of
// its callbacks took and how many frames it delivered.
//
// Threads: one audio thread at a time records (a device's own thread; a
// restarted device may use a new one). Recording stores into an array
// allocated up front and publishes it with one atomic store: no allocation,
// no lock, no I/O. Any other thread may read what has been recorded so far,
// while recording goes on. A record, once published, is never written again.
class CallbackTimer final {
 public:
  struct Record {
    std::int64_t nanoseconds = 0;
    int frames = 0;
  };

  // What a run of callbacks came to.
  struct Summary {
    std::size_t count = 0;
    std::int64_t worstNanoseconds = 0;
    // Where the worst call is among the calls, from 0.
    std::size_t worstCall = 0;
    // The nearest-rank percentile asked for.
    std::int64_t percentileNanoseconds = 0;
    std::int64_t meanNanoseconds = 0;
    // Calls that took longer than their block plays for: the device had to
    // wait for them.
    std::size_t lateCount = 0;
    // The real time of the shortest block among the calls, its budget.
    std::int64_t budgetNanoseconds = 0;
  };

  // Audio thread: times the enclosing callback into the timer, if there is one.
  class Scope {
   public:
    Scope(CallbackTimer *timer, int frames)
        : timer(timer), frames(frames), start(timer ? std::chrono::steady_clock::now() : Clock::time_point()) {}
    ~Scope() {
      if (timer)
        timer->record(std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count(), frames);
    }
    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;

   private:
    using Clock = std::chrono::steady_clock;
    CallbackTimer *timer;
    int frames;
    Clock::time_point start;
  };

  // Room for `capacity` calls; later calls are counted, not kept.
  explicit CallbackTimer(std::size_t capacity);

  CallbackTimer(const CallbackTimer &) = delete;
  CallbackTimer &operator=(const CallbackTimer &) = delete;

  // Audio thread.
  void record(std::int64_t nanoseconds, int frames);

  // Any thread: how many calls have been kept so far.
  std::size_t recordedCount() const { return recorded.load(std::memory_order_acquire); }
  // Any thread: calls that found the array full.
  std::size_t droppedCount() const { return dropped.load(std::memory_order_relaxed); }
  // Any thread: the kept calls from `from` up to (not including) `to`, in
  // the order they were made; `to` is limited to what has been recorded.
  std::vector<Record> records(std::size_t from, std::size_t to) const;

  // The calls' figures at a device's sample rate; the percentile in parts
  // per thousand (999 for the 99.9th).
  static Summary summarise(const std::vector<Record> &calls, double samplerate, int perMille);
  // The nearest-rank percentile: the smallest value that at least
  // perMille / 1000 of the values do not exceed. 0 for no values.
  static std::int64_t percentile(std::vector<std::int64_t> values, int perMille);

 private:
  std::unique_ptr<Record[]> calls;
  std::size_t capacity;
  std::atomic<std::size_t> recorded{0};
  std::atomic<std::size_t> dropped{0};
};
