#include "framework/sound/AudioClock.h"

// A sequence lock of sequentially consistent atomics throughout: one total
// order of every store and load, so a reader that finds the same even version
// before and after its loads saw no store of the writer in between. (Fences
// would be cheaper; ThreadSanitizer does not follow them, and this runs once
// a block and a few times a frame.)
void AudioClock::blockHeardAt(Clock::time_point heardAt, double rate) {
  const unsigned next = version.load() + 1;
  version.store(next);
  anchorFrame.store(mixed.load(std::memory_order_relaxed));
  anchorTicks.store(heardAt.time_since_epoch().count());
  anchorRate.store(rate > 0.0 ? rate : 0.0);
  version.store(next + 1);
}

AudioClock::Clock::time_point AudioClock::heardAt(AudioFrame frame) const {
  AudioFrame from;
  Clock::rep ticks;
  double rate;
  for (;;) {
    const unsigned before = version.load();
    from = anchorFrame.load();
    ticks = anchorTicks.load();
    rate = anchorRate.load();
    if (!(before & 1u) && version.load() == before) break;
  }
  if (!(rate > 0.0)) return Clock::time_point::min();
  const double seconds = static_cast<double>(frame - from) / rate;
  const auto offset = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  return Clock::time_point(Clock::duration(ticks)) + offset;
}
