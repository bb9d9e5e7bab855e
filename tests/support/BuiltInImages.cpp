#include "support/BuiltInImages.h"

#include "framework/drawing/Drawer.h"
#include "framework/drawing/ImageLoader.h"
#include "framework/drawing/TextAtlas.h"
#include "game/Circle.h"

void loadBuiltInImages(Drawer &drawer) {
  const Circle circle;
  ImageLoader::ImageData disc =
      ImageLoader().loadImage(reinterpret_cast<const char *>(circle.imageData), circle.imageDataSize);
  drawer.loadSingleImage(disc.data, disc.width, disc.height, circle.getName());
  const TextAtlas atlas;
  ImageLoader::ImageData text =
      ImageLoader().loadImage(reinterpret_cast<const char *>(atlas.imageData), atlas.imageDataSize);
  drawer.loadTextureAtlas(text.data, text.width, text.height, atlas);
}
