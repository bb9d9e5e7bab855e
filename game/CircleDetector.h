#pragma once

#include "game/TwoFloats.h"

// Decides, frame by frame, whether the mouse is being moved round in a
// circle: over the last 32 frames it must have stayed more than 10 units from
// the centre of the box it swept, and its distance from that centre must have
// varied by less than half the box's width. Main thread only.
class CircleDetector {
 public:
  static const int historyLength = 32;

  CircleDetector();

  // Replaces this frame's position (the newest entry); call on every move.
  void setMousePos(const TwoFloats &position) { history[0] = position; }
  // Once per frame: ages the history by one frame and tests it.
  bool update();

  const TwoFloats &getExtent() const { return extent; }

 private:
  // Entry 0 is the newest.
  TwoFloats history[historyLength];
  // Width and height of the box the history spans, from the last update.
  TwoFloats extent;
};
