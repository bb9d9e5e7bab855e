#include "RingFlashWatch.h"

void RingFlashWatch::frame(const unsigned char *rgb, int width, int height, Clock::time_point drawnAt) {
  if (width <= 0 || height <= 0) return;
  const unsigned char *centre = rgb + 3 * (static_cast<long>(height / 2) * width + width / 2);
  const int redness = centre[0] - centre[2];
  if (!resting) {
    // The first frame seen is taken for the ring at rest; one in the middle
    // of a flash is followed down to the rest as the flash fades.
    resting = true;
    restingRedness = redness;
    flashing = false;
    return;
  }
  const bool redder = redness - restingRedness >= Threshold;
  if (redder && !flashing) {
    ++count;
    const double seconds = std::chrono::duration<double>(drawnAt.time_since_epoch()).count();
    std::printf("autoplay: red flash at %.6f s\n", seconds);
    std::fflush(stdout);
  }
  // The rest is the least red the ring has been.
  if (!redder && redness < restingRedness) restingRedness = redness;
  flashing = redder;
}
