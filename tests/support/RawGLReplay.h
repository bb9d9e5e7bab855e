#pragma once

#include "support/RecordingDrawer.h"

#include <vector>

// Draws recorded gameplay calls (fillRect, and drawImage of the disc
// "Circle") in plain OpenGL, as a careful hand would write exactly those
// calls: the fixed-function pipeline, the disc one grey-and-alpha texture
// (as the drawers keep a white image) uploaded once, texturing and blending
// (off for an opaque colour) switched only where they change, the colour
// and one immediate-mode quad for each call. The yardstick the drawers are
// measured against; the window and its context must exist first, and
// outlive it.
class RawGLReplay {
 public:
  RawGLReplay(int width, int height);
  ~RawGLReplay();
  RawGLReplay(const RawGLReplay &) = delete;
  RawGLReplay &operator=(const RawGLReplay &) = delete;

  // Clears the window and draws the calls; false, drawing nothing, when a
  // call is not one of the two it replays.
  bool draw(const std::vector<RecordingDrawer::Call> &calls);

 private:
  unsigned int disc = 0;
  float discWidth = 0.0f;
  float discHeight = 0.0f;
};
