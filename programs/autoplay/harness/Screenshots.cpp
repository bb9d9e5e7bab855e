#include "harness/Screenshots.h"

#include "framework/drawing/Drawer.h"

#include <sys/stat.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

Screenshots::Screenshots(const std::string &dir) : dir(dir) {}

bool Screenshots::prepare() {
  for (size_t slash = dir.find('/', 1);; slash = dir.find('/', slash + 1)) {
    const std::string part = dir.substr(0, slash);
    if (!part.empty() && mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
      std::fprintf(stderr, "murmel-worlds-autoplay: cannot make %s: %s\n", part.c_str(), std::strerror(errno));
      return false;
    }
    if (slash == std::string::npos) break;
  }
  struct stat info;
  if (stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    std::fprintf(stderr, "murmel-worlds-autoplay: %s is not a folder\n", dir.c_str());
    return false;
  }
  return true;
}

bool Screenshots::capture(Drawer &drawer, const std::string &name, const std::string &caption) {
  std::vector<unsigned char> rgb;
  drawer.getScreenPixels(rgb);
  const int width = static_cast<int>(drawer.getWindowSize().x), height = static_cast<int>(drawer.getWindowSize().y);
  if (width < 1 || height < 1 || rgb.size() != static_cast<size_t>(width) * height * 3) return false;
  RgbaCanvas frame(width, height);
  // The drawer reads rows bottom-up.
  for (int y = 0; y < height; ++y) {
    const unsigned char *row = &rgb[static_cast<size_t>(height - 1 - y) * width * 3];
    for (int x = 0; x < width; ++x) {
      unsigned char *p = frame.pixel(x, y);
      p[0] = row[x * 3];
      p[1] = row[x * 3 + 1];
      p[2] = row[x * 3 + 2];
      p[3] = 255;
    }
  }
  sheet.add(caption, frame);
  return frame.writePng(dir + "/" + name + ".png");
}

bool Screenshots::writeContactSheet() { return sheet.compose().writePng(dir + "/contact-sheet.png"); }
