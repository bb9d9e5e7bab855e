#pragma once

#include "drawing/AtlasImage.h"

// One image holding several named images. The drawers read the members
// directly when they register the atlas.
class TextureAtlas {
 public:
  virtual ~TextureAtlas() = default;

  // Encoded PNG bytes for built-in atlases; raw RGBA pixels for font atlases.
  const unsigned char *imageData = nullptr;
  int imageDataSize = 0;
  int numImages = 0;
  // numImages member images.
  const AtlasImage *images = nullptr;
};
