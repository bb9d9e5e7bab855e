#pragma once

#include "base/FilePath.h"

// Decodes images (PNG or any format SDL_image reads) into 8-bit RGBA pixels.
// Only images of 24 or 32 bits per pixel are supported; palette and 16-bit
// images give the empty result.
class ImageLoader {
 public:
  struct ImageData {
    // width x height x 4 bytes, R, G, B, A, rows top to bottom, allocated
    // with new[] and owned by the caller; null when decoding failed.
    unsigned char *data = nullptr;
    int width = 0;
    int height = 0;
  };

  // An encoded image held in memory.
  ImageData loadImage(const char *data, unsigned int size);
  ImageData loadImage(const FilePath &path);
};
