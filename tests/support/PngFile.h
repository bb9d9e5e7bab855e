#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Encodes small 8-bit RGB, RGBA and palette PNG files for tests, with stored
// (uncompressed) deflate blocks and no library, so tests make their images
// independently of the decoder under test.
class PngFile {
 public:
  enum ColourType { Rgb = 2, Palette = 3, Rgba = 6 };

  // rows: height rows of width pixels, top row first, 3 bytes (Rgb), 1 byte
  // (Palette) or 4 bytes (Rgba) per pixel. palette: RGB triples.
  static std::string encode(int width, int height, ColourType type, const std::vector<uint8_t> &pixels,
                            const std::vector<uint8_t> &palette = std::vector<uint8_t>());
  // A screen shot: rows bottom-up RGB, as a drawer reads them back.
  static bool writeBottomUpRgb(const std::string &path, int width, int height, const std::vector<uint8_t> &pixels);
};
