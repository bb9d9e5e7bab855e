#pragma once

#include "base/TwoFloats.h"

// Steering something that glides a fixed fraction of the way a frame towards
// the mouse mirrored through the screen centre: the mouse goes where the
// mirror image lies beyond the goal, so that one glide lands on it, as far
// as the screen allows.
class MirrorSteering {
 public:
  // Where to put the mouse to bring thing to goal on a drawing area of that size.
  static TwoFloats mouseFor(const TwoFloats &thing, const TwoFloats &goal, const TwoFloats &area, float glideFraction);
};
