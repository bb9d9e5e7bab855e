#include "framework/drawing/TextAtlas.h"

// Fractions of the 1024 x 256 image: "Title" is 708 x 91 pixels at (0, 0),
// "AnyKey" 340 x 51 at (0, 92).
const AtlasImage TextAtlas::images[TextAtlas::numMembers] = {
    AtlasImage(L"Title", L"TextAtlas", TwoFloats(0.0f, 0.0f), TwoFloats(0.69140625f, 0.35546875f)),
    AtlasImage(L"AnyKey", L"TextAtlas", TwoFloats(0.0f, 0.359375f), TwoFloats(0.33203125f, 0.19921875f)),
};

TextAtlas::TextAtlas() {
  TextureAtlas::imageData = TextAtlas::imageData;
  TextureAtlas::imageDataSize = TextAtlas::imageDataSize;
  numImages = numMembers;
  TextureAtlas::images = TextAtlas::images;
}
