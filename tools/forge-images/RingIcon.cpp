#include "RingIcon.h"

#include <sys/stat.h>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>

namespace {

struct Colour {
  double r, g, b;
};

// One colour of each world, in the order they are played: World0's warm
// ring, World1's magenta, World2's sage background, World3's orange,
// World4's cyan, World5's blue, World6's vermilion and World7's yellow.
const Colour worldColours[8] = {
    {1.0, 0.42352942, 0.42352942},       {0.84313726, 0.32941177, 0.6666667},  {0.5254902, 0.6745098, 0.53333336},
    {0.99215686, 0.58431375, 0.0},       {0.0, 0.7647059, 0.7921569},          {0.101960786, 0.20784314, 0.74509805},
    {0.9647059, 0.32941177, 0.20784314}, {0.94509804, 0.90588236, 0.29803923},
};
const Colour backdrop = {0.06, 0.06, 0.13};
const double pi = 3.14159265358979;

// Radii as fractions of the side.
const double backdropRadius = 0.47, ringOuter = 0.40, ringInner = 0.23;

// The ring's colour at an angle, eased from one world's colour to the next.
Colour ringColour(double angle) {
  const double turn = angle / (2.0 * pi) * 8.0;
  const double fromIndex = std::floor(turn);
  const double t = turn - fromIndex;
  const double ease = 1.0 - (std::cos(pi * t) * 0.5 + 0.5);
  const Colour &a = worldColours[static_cast<int>(fromIndex) & 7];
  const Colour &b = worldColours[(static_cast<int>(fromIndex) + 1) & 7];
  return {a.r + (b.r - a.r) * ease, a.g + (b.g - a.g) * ease, a.b + (b.b - a.b) * ease};
}

// The folder and every missing folder above it.
bool makeFolders(const std::string &path) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string level = path.substr(0, slash);
    if (mkdir(level.c_str(), 0775) != 0 && errno != EEXIST) {
      std::perror(level.c_str());
      return false;
    }
    if (slash == std::string::npos) return true;
  }
}

unsigned char toByte(double value) {
  return static_cast<unsigned char>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
}

}  // namespace

RgbaCanvas RingIcon::draw(int side) {
  RgbaCanvas canvas(side, side);
  canvas.fill(0, 0, 0, 0);
  // 8 x 8 samples per pixel keep the small sizes' edges smooth.
  const int samples = 8;
  const double centre = side * 0.5;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      double r = 0.0, g = 0.0, b = 0.0, covered = 0.0;
      for (int sy = 0; sy < samples; ++sy) {
        for (int sx = 0; sx < samples; ++sx) {
          const double dx = x + (sx + 0.5) / samples - centre, dy = y + (sy + 0.5) / samples - centre;
          const double distance = std::sqrt(dx * dx + dy * dy) / side;
          if (distance > backdropRadius) continue;
          // Clockwise from the top, as the worlds follow each other.
          const Colour c = distance >= ringInner && distance <= ringOuter
                               ? ringColour(std::atan2(dx, -dy) + (dx < 0.0 ? 2.0 * pi : 0.0))
                               : backdrop;
          r += c.r;
          g += c.g;
          b += c.b;
          covered += 1.0;
        }
      }
      if (covered == 0.0) continue;
      unsigned char *p = canvas.pixel(x, y);
      // Colour averaged over the covered samples only: the edge fades in alpha, not to black.
      p[0] = toByte(r / covered);
      p[1] = toByte(g / covered);
      p[2] = toByte(b / covered);
      p[3] = toByte(covered / (samples * samples));
    }
  }
  return canvas;
}

bool RingIcon::writeThemeSizes(const std::string &folder, const std::string &name) {
  for (const int side : {16, 32, 48, 64, 128, 256}) {
    const std::string sizeFolder = folder + "/" + std::to_string(side) + "x" + std::to_string(side);
    if (!makeFolders(sizeFolder + "/apps") || !draw(side).writePng(sizeFolder + "/apps/" + name + ".png")) return false;
  }
  return true;
}
