// Draws the built-in images of Murmel Worlds into a folder:
//   Circle.png     the soft-rimmed white disc every ring is drawn with
//   TextAtlas.png  the title and the start prompt
//   SoftLine.png   the soft line texture of the drawers
// or, with --icons, the program's icon in every size of an icon theme.
// Usage: forge-images <output folder> [font file]
//        forge-images --icons <icon theme folder>
#include "RgbaCanvas.h"
#include "RingIcon.h"
#include "TextPainter.h"

#include <sys/stat.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

// Alpha of the disc at e pixels in from the image's edge (along a radius):
// nothing for the outer 16 pixels, a faint halo rising to about 44 just
// outside the disc's edge at 31.5, then the disc itself from 118, easing up
// to full opacity about 61 pixels in.
double discAlpha(double e) {
  if (e < 15.5) return 0.0;
  if (e < 31.5) {
    const double t = (e - 15.5) / 16.0;
    return 44.0 * t * t;
  }
  const double t = std::min(1.0, std::max(0.0, (e - 32.0) / 29.0));
  return 118.0 + 137.0 * (1.0 - (1.0 - t) * (1.0 - t));
}

RgbaCanvas forgeCircle() {
  const int side = 1024;
  const double centre = side * 0.5;
  RgbaCanvas canvas(side, side);
  canvas.fill(255, 255, 255, 0);
  // 4 x 4 samples per pixel smooth the edge all round.
  const int samples = 4;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      double sum = 0.0;
      for (int sy = 0; sy < samples; ++sy) {
        for (int sx = 0; sx < samples; ++sx) {
          const double dx = x + (sx + 0.5) / samples - centre;
          const double dy = y + (sy + 0.5) / samples - centre;
          // On the centre row, pixel x spans e from x - 0.5 to x + 0.5.
          sum += discAlpha(centre - 0.5 - std::sqrt(dx * dx + dy * dy));
        }
      }
      canvas.pixel(x, y)[3] = static_cast<unsigned char>(std::lround(sum / (samples * samples)));
    }
  }
  return canvas;
}

RgbaCanvas forgeSoftLine() {
  const unsigned char alphas[8] = {2, 33, 192, 255, 255, 192, 33, 2};
  RgbaCanvas canvas(8, 8);
  canvas.fill(255, 255, 255, 0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) canvas.pixel(x, y)[3] = alphas[x];
  return canvas;
}

bool forgeTextAtlas(const std::string &fontFile, RgbaCanvas &canvas) {
  TextPainter painter(fontFile);
  if (!painter.isValid()) {
    std::fprintf(stderr, "forge-images: cannot open the font %s\n", fontFile.c_str());
    return false;
  }
  canvas.fill(255, 255, 255, 0);
  // The member rectangles of the atlas: "Title" 708 x 91 at (0, 0),
  // "AnyKey" 340 x 51 at (0, 92).
  if (!painter.fitText(canvas, U"Murmel Worlds", 0, 0, 708, 91, 3) ||
      !painter.fitText(canvas, U"any key to start", 0, 92, 340, 51, 3)) {
    std::fprintf(stderr, "forge-images: the text does not fit its rectangle\n");
    return false;
  }
  return true;
}

std::string findFont() {
  const char *candidates[] = {
      "/usr/share/fonts/truetype/comfortaa/Comfortaa-Light.ttf",
      "/usr/share/fonts/opentype/quicksand/Quicksand-Light.otf",
      "/usr/share/fonts/truetype/quicksand/Quicksand-Light.ttf",
  };
  struct stat info;
  for (const char *path : candidates)
    if (stat(path, &info) == 0) return path;
  return std::string();
}

}  // namespace

int main(int argc, char **argv) {
  if (argc == 3 && std::string(argv[1]) == "--icons")
    return RingIcon::writeThemeSizes(argv[2], "murmel-worlds") ? 0 : 1;
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: forge-images <output folder> [font file]\n       forge-images --icons <folder>\n");
    return 2;
  }
  const std::string folder = argv[1];
  const std::string font = argc == 3 ? argv[2] : findFont();
  if (font.empty()) {
    std::fprintf(stderr, "forge-images: no Comfortaa Light or Quicksand Light font (fonts-comfortaa)\n");
    return 1;
  }
  RgbaCanvas atlas(1024, 256);
  if (!forgeTextAtlas(font, atlas)) return 1;
  const bool written = forgeCircle().writePng(folder + "/Circle.png") && atlas.writePng(folder + "/TextAtlas.png") &&
                       forgeSoftLine().writePng(folder + "/SoftLine.png");
  return written ? 0 : 1;
}
