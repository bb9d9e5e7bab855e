#pragma once

#include <string>
#include <vector>

// An 8-bit RGBA picture in memory, written out as a PNG.
class RgbaCanvas {
 public:
  RgbaCanvas(int width, int height);

  int getWidth() const { return width; }
  int getHeight() const { return height; }
  unsigned char *pixel(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
  const unsigned char *pixel(int x, int y) const { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
  void fill(unsigned char r, unsigned char g, unsigned char b, unsigned char a);

  // Best compression; false (with a message on standard error) on failure.
  bool writePng(const std::string &path) const;

 private:
  int width;
  int height;
  std::vector<unsigned char> pixels;
};
