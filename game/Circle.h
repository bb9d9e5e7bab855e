#pragma once

#include "framework/drawing/SingleImage.h"

// The one image every ring is drawn with: a white disc of radius about 480
// with a soft rim, centred in a transparent 1024 x 1024 RGBA PNG. Being
// white, a ring drawn with a colour takes exactly that colour.
class Circle final : public SingleImage {
 public:
  Circle();
  std::wstring getName() const override { return L"Circle"; }

  // The encoded PNG, generated into the build from the image assets.
  static const unsigned char imageData[];
  static const int imageDataSize;
};
