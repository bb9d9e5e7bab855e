#include "platforms/SDL1.2Backend/SDLQueueTiming.h"

#include <algorithm>
#include <cmath>

namespace {

SDLAudioTiming::Clock::duration seconds(double value) {
  return std::chrono::duration_cast<SDLAudioTiming::Clock::duration>(std::chrono::duration<double>(value));
}

}  // namespace

void SDLQueueTiming::beforeOpen() { started = false; }

SDLQueueTiming::Clock::time_point SDLQueueTiming::blockHeardAt(int frames, double rate) {
  const Clock::time_point now = Clock::now();
  if (!(rate > 0.0)) return now;
  if (!started) {
    started = true;
    origin = now;
    delivered = 0.0;
    queued = 0.0;
    lastFrames = 0.0;
  }
  const double elapsed = std::chrono::duration<double>(now - origin).count();
  if (elapsed < MeasuringSeconds) {
    // Frames given and not played yet, had playing begun with the first block.
    queued = std::max(queued, delivered - elapsed * rate);
  }
  const Clock::time_point reckoned = now + seconds(queued / rate);
  Clock::time_point heard = reckoned;
  if (lastFrames > 0.0) {
    const Clock::time_point following = lastHeard + seconds(lastFrames / rate);
    const double apart = std::fabs(std::chrono::duration<double>(following - reckoned).count());
    if (apart <= 0.25 * frames / rate) heard = following;
  }
  delivered += frames;
  lastHeard = heard;
  lastFrames = frames;
  return heard;
}
