#include "RgbaCanvas.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

RgbaCanvas::RgbaCanvas(int width, int height)
    : width(width), height(height), pixels(static_cast<size_t>(width) * height * 4, 0) {}

void RgbaCanvas::fill(unsigned char r, unsigned char g, unsigned char b, unsigned char a) {
  for (size_t i = 0; i < pixels.size(); i += 4) {
    pixels[i] = r;
    pixels[i + 1] = g;
    pixels[i + 2] = b;
    pixels[i + 3] = a;
  }
}

bool RgbaCanvas::writePng(const std::string &path) const {
  FILE *file = std::fopen(path.c_str(), "wb");
  if (!file) {
    std::perror(path.c_str());
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    std::fprintf(stderr, "%s: cannot write PNG\n", path.c_str());
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) png_write_row(png, &pixels[static_cast<size_t>(y) * width * 4]);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}
