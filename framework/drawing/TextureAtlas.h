#pragma once

#include "framework/drawing/AtlasImage.h"

#include <memory>
#include <utility>

// One image holding several named images. The drawers read the members
// directly when they register the atlas.
class TextureAtlas {
 public:
  virtual ~TextureAtlas() = default;

  // Hands over the pixels the atlas owns (a font atlas's first page) and
  // forgets them: imageData and imageDataSize become null and 0, so nothing
  // points at pixels the drawer has taken. Null when the atlas owns none
  // (built-in atlases point at static PNG bytes).
  std::unique_ptr<unsigned char[]> takeImageData() {
    if (ownedImageData) {
      imageData = nullptr;
      imageDataSize = 0;
    }
    return std::move(ownedImageData);
  }

  // Encoded PNG bytes for built-in atlases; raw RGBA pixels for font atlases.
  const unsigned char *imageData = nullptr;
  int imageDataSize = 0;
  int numImages = 0;
  // numImages member images.
  const AtlasImage *images = nullptr;

 protected:
  // Makes the atlas own data and points imageData at it.
  void ownImageData(std::unique_ptr<unsigned char[]> data, int size) {
    ownedImageData = std::move(data);
    imageData = ownedImageData.get();
    imageDataSize = size;
  }

 private:
  std::unique_ptr<unsigned char[]> ownedImageData;
};
