#pragma once

#include "base/TwoFloats.h"

#include <string>

// One named rectangle of an atlas image, in fractions (0 to 1) of the atlas's
// width and height.
struct AtlasImage {
  AtlasImage() = default;
  AtlasImage(const std::wstring &name, const std::wstring &atlasName, const TwoFloats &position, const TwoFloats &size)
      : name(name), atlasName(atlasName), position(position), size(size) {}

  // The name the image is registered and drawn under.
  std::wstring name;
  // The atlas it belongs to; informational.
  std::wstring atlasName;
  TwoFloats position;
  TwoFloats size;
};
