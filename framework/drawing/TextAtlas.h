#pragma once

#include "framework/drawing/TextureAtlas.h"

// The game's one built-in atlas: the title "Title" and the start prompt
// "AnyKey" in a 1024 x 256 PNG.
class TextAtlas final : public TextureAtlas {
 public:
  TextAtlas();

  // The encoded PNG, generated into the build from the image assets.
  static const unsigned char imageData[];
  static const int imageDataSize;
  static const int numMembers = 2;
  static const AtlasImage images[numMembers];
};
