#pragma once

#include <atomic>

// A measuring window over an audio stream that runs flat out: the audio
// thread reports every finished block, the main thread waits for stream
// positions and arms the window, and the window takes the process's CPU time
// (user + system, every thread) at the block boundaries where it opens and
// closes, so that it covers whole blocks and an exact number of frames.
class FrameWindow {
 public:
  // frameCount: how many frames the window covers at least.
  explicit FrameWindow(long long frameCount) : wanted(frameCount) {}

  // Audio thread, after each block of `frames` frames.
  void blockDone(int frames);
  // Audio thread: CPU time spent inside the window on work that is not to be
  // counted (the harness's own refills), taken off the window's figure.
  void exclude(double cpuSeconds);

  // Main thread: frames finished since the stream started.
  long long framesSoFar() const { return total.load(std::memory_order_acquire); }
  // Main thread: sleeps until the stream has reached `frames`.
  void waitForFrames(long long frames) const;
  // Main thread: opens the window at the next block boundary and returns once
  // it has closed.
  void measure();

  // Once measure() has returned.
  long long measuredFrames() const { return measured; }
  double cpuSeconds() const { return cpuEnd - cpuStart - excluded; }
  double excludedSeconds() const { return excluded; }
  // One line on standard output for the harness: "frames F cpu S excluded E".
  void report() const;

  // The process's user + system time so far, in seconds.
  static double processCpuSeconds();
  // The calling thread's CPU time so far, in seconds.
  static double threadCpuSeconds();

 private:
  enum State { Idle, Armed, Open, Closed };

  const long long wanted;
  std::atomic<long long> total{0};
  std::atomic<int> state{Idle};
  // Written by the audio thread before it publishes Closed.
  long long measured = 0;
  double cpuStart = 0.0;
  double cpuEnd = 0.0;
  double excluded = 0.0;
};
