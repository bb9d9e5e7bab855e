#include "perfect/MirrorSteering.h"

#include <algorithm>

TwoFloats MirrorSteering::mouseFor(const TwoFloats &thing, const TwoFloats &goal, const TwoFloats &area,
                                   float glideFraction) {
  const TwoFloats mirrored = thing + (goal - thing) / glideFraction;
  const TwoFloats mouse = area - mirrored;
  return TwoFloats(std::clamp(mouse.x, 0.0f, area.x), std::clamp(mouse.y, 0.0f, area.y));
}
