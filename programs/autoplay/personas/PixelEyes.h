#pragma once

#include "base/ThreeFloats.h"
#include "base/TwoFloats.h"

#include <array>
#include <cstdint>
#include <vector>

// What a person makes out in one frame's pixels: the background, the discs
// standing out from what is behind them, small marks such as text, and how
// light, white or black the screen is as a whole. Nothing is labelled: no
// world, no ring's index. Positions and radii in drawing-area units, colours
// as drawn (each channel a displayed byte over 255).
struct Glance {
  struct Disc {
    TwoFloats centre;
    float radius = 0.0f;
    ThreeFloats colour;
  };
  // Marks close together on one line (a line of text) make one mark.
  struct Mark {
    TwoFloats centre;
    TwoFloats size;
    ThreeFloats colour;
  };
  static constexpr int MostDiscs = 32;
  static constexpr int MostMarks = 16;

  TwoFloats area{1280.0f, 720.0f};
  ThreeFloats background;
  // Largest first.
  std::array<Disc, MostDiscs> discs;
  int discCount = 0;
  // Largest first.
  std::array<Mark, MostMarks> marks;
  int markCount = 0;
  // CIE L* over the screen, 0 (black) to 100 (white).
  float lightness = 0.0f;
  // The shares of the screen that look white and that look black.
  float whiteShare = 0.0f;
  float blackShare = 0.0f;
};

// Finds a Glance in a frame's pixels: the picture is sampled on a grid of
// no more than 640 x 360 samples' worth, neighbouring samples a person cannot
// tell apart are joined into regions, the region along the screen's edges is
// the background, and every other region whose outline is a circle is a
// disc. Allocates when it first sees a frame size, never after while the
// size stays the same. Any thread, one caller at a time.
class PixelEyes {
 public:
  // The smallest colour difference a person tells apart, as CIE76 delta E*ab:
  // 2.3, the just-noticeable difference (Mahy, Van Eycken and Oosterlinck,
  // 1994; Sharma, Digital Color Imaging Handbook, 2003).
  static constexpr float JustNoticeable = 2.3f;

  // width x height pixels of three bytes (R, G, B), rows tightly packed, the
  // bottom row first when bottomUp (as OpenGL reads them back). The picture
  // fills `area` (the drawing area stretched over the window, as the mouse's
  // pixels map to it).
  void look(const unsigned char *rgb, int width, int height, bool bottomUp, const TwoFloats &area, Glance &glance);

  // CIE L*a*b* of a displayed sRGB colour (bytes); D65 white.
  static ThreeFloats lab(uint8_t r, uint8_t g, uint8_t b);
  static float difference(const ThreeFloats &labA, const ThreeFloats &labB);

 private:
  struct Region {
    int count = 0;
    int edgeCount = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
    float labSum[3] = {0.0f, 0.0f, 0.0f};
    float rgbSum[3] = {0.0f, 0.0f, 0.0f};
  };
  struct Circle {
    float x = 0.0f, y = 0.0f, r = 0.0f;
  };

  void sample(const unsigned char *rgb, int width, int height, bool bottomUp);
  void join();
  int find(int sample);
  void gather();
  int findBackground() const;
  bool fitCircle(int region, Circle &circle);
  bool supported(int region, const Circle &circle) const;
  void addDisc(int region, const Circle &circle, Glance &glance);
  bool smallBlob(int region, Circle &circle) const;
  static void dropShades(Glance &glance);
  bool filledDisc(int region, const Circle &circle, const ThreeFloats &backLab) const;
  void seenEdge(int region, Circle &circle) const;
  static ThreeFloats meanLab(const Region &region);
  void addMark(int region, Glance &glance) const;
  static bool joinMarks(Glance::Mark &into, const Glance::Mark &mark);
  static bool smaller(const Glance::Mark &a, const Glance::Mark &b);
  const ThreeFloats &cachedLab(uint32_t packed);

  int step = 1;
  int columns = 0, rows = 0;
  // A sample's size in drawing-area units.
  TwoFloats unit;
  std::vector<ThreeFloats> labs;
  std::vector<uint32_t> packed;
  std::vector<int> parent;
  // Each sample's region, and the regions' figures (by region number).
  std::vector<int> regionOf;
  std::vector<Region> regions;
  std::vector<float> boundaryX, boundaryY;
  std::vector<int> markRegions;
  // The samples of the region each disc found so far was seen in.
  std::array<int, Glance::MostDiscs> discSamples{};
  // Frames hold few colours (flat fills and their soft edges): each colour is
  // converted once, in a small direct-mapped cache.
  static constexpr int CacheSize = 4096;
  std::array<uint32_t, CacheSize> cacheKeys{};
  std::array<ThreeFloats, CacheSize> cacheLabs{};
};
