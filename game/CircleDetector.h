#pragma once

#include "base/TwoFloats.h"

// Decides, frame by frame, whether the mouse is being moved round in a
// circle. It looks back over the newest 32 frames and, for circles drawn
// more slowly, over longer spans up to about two seconds; a span is a circle
// when the mouse stayed more than 10 units from the centre of the box it
// swept, its distance from that centre varied by less than half the box's
// width, and it went round that centre nearly once or more, in one direction,
// in steady steps (no jump of a quarter turn or more) and still turning in
// each quarter of the span. A still mouse, a line, a shake or a mouse that
// jumped between a few places is never a circle. Main thread only.
class CircleDetector {
 public:
  // The newest 32 frames are the shortest span looked at.
  static const int historyLength = 32;
  // Frames kept for the longest span: a turn of two seconds.
  static const int longHistoryLength = 128;

  CircleDetector();

  // Replaces this frame's position (the newest entry); call on every move.
  // The first position fills the whole history, as if the mouse had rested
  // there before.
  void setMousePos(const TwoFloats &position);
  // Once per frame: ages the history by one frame and tests it.
  bool update();

  // Width and height of the box the newest 32 frames span, from the last update.
  const TwoFloats &getExtent() const { return extent; }

 private:
  // Whether the newest `frames` entries go round in a circle; the 32-frame
  // span also stores its box's extent.
  bool isCircle(int frames);

  // Entry 0 is the newest.
  TwoFloats history[longHistoryLength];
  bool hasPosition = false;
  TwoFloats extent;
};
