#include "FrameWindow.h"

#include <sys/resource.h>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

namespace {

double seconds(const timeval &time) { return static_cast<double>(time.tv_sec) + time.tv_usec * 1e-6; }

}  // namespace

void FrameWindow::blockDone(int frames) {
  total.fetch_add(frames, std::memory_order_acq_rel);
  const int now = state.load(std::memory_order_acquire);
  if (now == Armed) {
    measured = 0;
    excluded = 0.0;
    cpuStart = processCpuSeconds();
    state.store(Open, std::memory_order_release);
  } else if (now == Open) {
    measured += frames;
    if (measured >= wanted) {
      cpuEnd = processCpuSeconds();
      state.store(Closed, std::memory_order_release);
    }
  }
}

void FrameWindow::exclude(double cpuSeconds) {
  if (state.load(std::memory_order_acquire) == Open) excluded += cpuSeconds;
}

void FrameWindow::waitForFrames(long long frames) const {
  while (framesSoFar() < frames) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void FrameWindow::measure() {
  state.store(Armed, std::memory_order_release);
  // Sleeping, the waiting thread adds next to nothing to the figure.
  while (state.load(std::memory_order_acquire) != Closed) std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

double FrameWindow::processCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double FrameWindow::threadCpuSeconds() {
  timespec time{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
  return static_cast<double>(time.tv_sec) + time.tv_nsec * 1e-9;
}

void FrameWindow::report() const {
  std::printf("frames %lld cpu %.6f excluded %.6f\n", measured, cpuSeconds(), excluded);
}
