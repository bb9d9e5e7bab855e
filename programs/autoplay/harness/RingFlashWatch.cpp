#include "harness/RingFlashWatch.h"

#include <GL/gl.h>

void RingFlashWatch::frame(int width, int height, Clock::time_point drawnAt) {
  if (width <= 0 || height <= 0) return;
  unsigned char centre[4] = {0, 0, 0, 0};
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(width / 2, height / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, centre);
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
