#include "platforms/desktop/drawing/GLImmediateDrawer.h"
#include "framework/drawing/ImageLoader.h"
#include "framework/drawing/TextAtlas.h"
#include "game/Circle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

struct Decoded {
  ImageLoader::ImageData image;
  Decoded(const unsigned char *data, int size)
      : image(ImageLoader().loadImage(reinterpret_cast<const char *>(data), static_cast<unsigned>(size))) {}
  ~Decoded() { delete[] image.data; }
  const unsigned char *pixel(int x, int y) const { return image.data + (static_cast<size_t>(y) * image.width + x) * 4; }
  int alpha(int x, int y) const { return pixel(x, y)[3]; }
};

// The embedded length is the whole file: it starts with the PNG signature
// and ends with the IEND chunk and its checksum.
void expectWholePng(const unsigned char *data, int size) {
  ASSERT_GT(size, 20);
  EXPECT_EQ(std::memcmp(data, "\x89PNG\r\n\x1a\n", 8), 0);
  EXPECT_EQ(std::memcmp(data + size - 8, "IEND\xae\x42\x60\x82", 8), 0);
}

TEST(BuiltInImages, EmbeddedBytesAreWholePngFiles) {
  const Circle circle;
  expectWholePng(circle.imageData, circle.imageDataSize);
  const TextAtlas atlas;
  expectWholePng(atlas.imageData, atlas.imageDataSize);
  GLImmediateDrawer drawer;
  expectWholePng(GLImmediateDrawer::line_png, static_cast<int>(GLImmediateDrawer::linePngBytes));
  EXPECT_EQ(circle.getName(), L"Circle");
}

TEST(BuiltInImages, CircleIsAWhiteDiscWithASoftRim) {
  const Circle circle;
  Decoded decoded(circle.imageData, circle.imageDataSize);
  ASSERT_NE(decoded.image.data, nullptr);
  ASSERT_EQ(decoded.image.width, 1024);
  ASSERT_EQ(decoded.image.height, 1024);
  // Along the centre row, from the left edge in.
  for (int x = 0; x < 16; ++x) EXPECT_EQ(decoded.alpha(x, 512), 0) << x;
  EXPECT_NEAR(decoded.alpha(31, 512), 44, 6);
  EXPECT_NEAR(decoded.alpha(32, 512), 118, 8);
  EXPECT_GE(decoded.alpha(61, 512), 250);
  EXPECT_EQ(decoded.alpha(512, 512), 255);
  for (int x = 16; x < 31; ++x) EXPECT_LE(decoded.alpha(x, 512), decoded.alpha(x + 1, 512)) << x;
  // Round: the same profile along the centre column and mirrored.
  for (int d : {20, 31, 32, 45, 61}) {
    EXPECT_NEAR(decoded.alpha(512, d), decoded.alpha(d, 512), 1) << d;
    EXPECT_NEAR(decoded.alpha(1023 - d, 512), decoded.alpha(d, 512), 1) << d;
  }
  // Along the diagonal the rim is at the same distance from the centre.
  const int diagonal = static_cast<int>(std::lround(512 - 480 / std::sqrt(2.0)));
  EXPECT_GT(decoded.alpha(diagonal + 3, diagonal + 3), 100);
  EXPECT_LT(decoded.alpha(diagonal - 3, diagonal - 3), 60);
  EXPECT_EQ(decoded.alpha(0, 0), 0);
  for (int x : {40, 300, 512})
    for (int c = 0; c < 3; ++c) EXPECT_EQ(decoded.pixel(x, 512)[c], 255);
}

TEST(BuiltInImages, TextAtlasHoldsTitleAndPromptInTheirRectangles) {
  const TextAtlas atlas;
  ASSERT_EQ(atlas.numImages, 2);
  EXPECT_EQ(atlas.images[0].name, L"Title");
  EXPECT_EQ(atlas.images[1].name, L"AnyKey");
  Decoded decoded(atlas.imageData, atlas.imageDataSize);
  ASSERT_NE(decoded.image.data, nullptr);
  ASSERT_EQ(decoded.image.width, 1024);
  ASSERT_EQ(decoded.image.height, 256);

  struct Rect {
    int x, y, w, h;
  };
  Rect rects[2];
  for (int i = 0; i < 2; ++i) {
    const AtlasImage &m = atlas.images[i];
    rects[i] = Rect{static_cast<int>(m.position.x * 1024), static_cast<int>(m.position.y * 256),
                    static_cast<int>(m.size.x * 1024), static_cast<int>(m.size.y * 256)};
    EXPECT_EQ(m.atlasName, L"TextAtlas");
  }
  EXPECT_EQ(rects[0].w, 708);
  EXPECT_EQ(rects[0].h, 91);
  EXPECT_EQ(rects[1].y, 92);
  EXPECT_EQ(rects[1].w, 340);
  EXPECT_EQ(rects[1].h, 51);

  // Ink only strictly inside the rectangles; white, antialiased in alpha.
  int inkLeft[2] = {1024, 1024}, inkRight[2] = {0, 0}, inkTop[2] = {256, 256}, inkBottom[2] = {0, 0};
  bool antialiased = false;
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 1024; ++x) {
      const int a = decoded.alpha(x, y);
      if (a == 0) continue;
      antialiased |= a > 0 && a < 255;
      int owner = -1;
      for (int i = 0; i < 2; ++i) {
        const Rect &r = rects[i];
        if (x > r.x && x < r.x + r.w - 1 && y > r.y && y < r.y + r.h - 1) owner = i;
      }
      ASSERT_GE(owner, 0) << "ink outside the members at (" << x << ", " << y << ")";
      ASSERT_EQ(decoded.pixel(x, y)[0] + decoded.pixel(x, y)[1] + decoded.pixel(x, y)[2], 3 * 255);
      inkLeft[owner] = std::min(inkLeft[owner], x);
      inkRight[owner] = std::max(inkRight[owner], x + 1);
      inkTop[owner] = std::min(inkTop[owner], y);
      inkBottom[owner] = std::max(inkBottom[owner], y + 1);
    }
  }
  EXPECT_TRUE(antialiased);
  // Each text fills its rectangle in at least one direction.
  for (int i = 0; i < 2; ++i) {
    const double wFill = double(inkRight[i] - inkLeft[i]) / rects[i].w;
    const double hFill = double(inkBottom[i] - inkTop[i]) / rects[i].h;
    EXPECT_GT(std::max(wFill, hFill), 0.9) << i;
  }
}

}  // namespace
