#pragma once

#include "game/TwoFloats.h"

// Decides, frame by frame, whether the mouse is being moved round in a
// circle: over the last 32 frames it must have stayed more than 10 units from
// the centre of the box it swept, gone round that centre (through all four
// quarters about it), and its distance from that centre must have varied by
// less than half the box's width. A still mouse or one that jumped between a
// few places is never a circle. Main thread only.
class CircleDetector {
 public:
  static const int historyLength = 32;

  CircleDetector();

  // Replaces this frame's position (the newest entry); call on every move.
  // The first position fills the whole history, as if the mouse had rested
  // there before.
  void setMousePos(const TwoFloats &position);
  // Once per frame: ages the history by one frame and tests it.
  bool update();

  const TwoFloats &getExtent() const { return extent; }

 private:
  // Entry 0 is the newest.
  TwoFloats history[historyLength];
  bool hasPosition = false;
  // Width and height of the box the history spans, from the last update.
  TwoFloats extent;
};
