#pragma once

#include "personas/PixelEyes.h"

class Sight;

// What a person notices change on the screen between two moments it has
// taken in: the biggest disc growing, colours shifting, the white flash.
class ScreenChanges {
 public:
  // Growth is judged over this much of what was seen.
  static constexpr double window = 0.25;

  // The biggest disc's radius; 0 when no disc is seen. With `at`, only
  // discs centred near that point count.
  static float largestRadius(const Glance &glance);
  static float largestRadius(const Glance &glance, const TwoFloats &at);
  // The biggest disc has grown by more than a few units over the window;
  // each end is the middle of three frames, so that a disc lost for a frame
  // or two behind another is not taken for growth.
  static bool growing(const Sight &sight);
  static bool growingAt(const Sight &sight, const TwoFloats &at);
  static bool shrinking(const Sight &sight);
  // How long, up to the memory's reach, the biggest disc has kept growing.
  static double grownFor(const Sight &sight);
  // The background or the biggest disc has shifted colour over the window.
  static bool recoloured(const Sight &sight);
  // The largest colour difference (CIE76) between two colours as drawn.
  static float colourDifference(const ThreeFloats &a, const ThreeFloats &b);
  // Most of the screen is white: the flash that ends a world.
  static bool flashing(const Glance &glance) { return glance.whiteShare >= 0.5f; }
  // The background has kept its colour and nothing flashes: a camera journey is over.
  static bool settled(const Sight &sight);

 private:
  static bool grew(const Sight &sight, const TwoFloats *at);
  // The middle of the radii seen at `earlier` and the two frames before it.
  static float steadyRadius(const Sight &sight, double earlier, const TwoFloats *at);
};
