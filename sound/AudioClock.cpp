#include "sound/AudioClock.h"

void AudioClock::blockHeardAt(Clock::time_point heardAt, double rate) {
  const unsigned next = version.load(std::memory_order_relaxed) + 1;
  version.store(next, std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_release);
  anchorFrame.store(mixed.load(std::memory_order_relaxed), std::memory_order_relaxed);
  anchorTicks.store(heardAt.time_since_epoch().count(), std::memory_order_relaxed);
  anchorRate.store(rate > 0.0 ? rate : 0.0, std::memory_order_relaxed);
  version.store(next + 1, std::memory_order_release);
}

AudioClock::Clock::time_point AudioClock::heardAt(AudioFrame frame) const {
  AudioFrame from;
  Clock::rep ticks;
  double rate;
  for (;;) {
    const unsigned before = version.load(std::memory_order_acquire);
    from = anchorFrame.load(std::memory_order_relaxed);
    ticks = anchorTicks.load(std::memory_order_relaxed);
    rate = anchorRate.load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (!(before & 1u) && version.load(std::memory_order_relaxed) == before) break;
  }
  if (!(rate > 0.0)) return Clock::time_point::min();
  const double seconds = static_cast<double>(frame - from) / rate;
  const auto offset = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  return Clock::time_point(Clock::duration(ticks)) + offset;
}
