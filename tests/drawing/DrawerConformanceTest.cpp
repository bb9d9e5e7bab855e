// Draws with a drawer into a real OpenGL window, reads the pixels back and
// checks positions and colours. Written against Drawer: every drawer is
// instantiated at the bottom of this file.
#include "framework/app/AppSettings.h"
#include "framework/drawing/Drawer.h"
#include "framework/drawing/GLESDrawer.h"
#include "platforms/desktop/drawing/GLImmediateDrawer.h"
#include "support/BuiltInImages.h"
#include "support/GLTestWindow.h"
#include "support/PngFile.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <boost/shared_ptr.hpp>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

typedef boost::shared_ptr<Drawer> (*DrawerFactory)();

struct DrawerKind {
  const char *name;
  DrawerFactory create;
  // drawRotImage's angle for one degree.
  float anglePerDegree;
  // The same drawer kept off frame buffers; null when it cannot be.
  DrawerFactory createWithoutFrameBuffers;
  // The built-in soft line's image name.
  const wchar_t *defaultLineName;
  // A vertex shader for a caller's program that places vertices as the
  // drawer's own do.
  const wchar_t *vertexShader;
  // A program that multiplies the second image in; null when the drawer's
  // own drawing does.
  const wchar_t *secondImageVertexShader;
  const wchar_t *secondImageFragmentShader;
};

// Names the drawer in test names and failure messages.
void PrintTo(const DrawerKind &kind, std::ostream *out) { *out << kind.name; }

struct Rgb {
  int r, g, b;
};

std::ostream &operator<<(std::ostream &out, const Rgb &c) {
  return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

const ThreeFloats white(1.0f, 1.0f, 1.0f);
const ThreeFloats red(1.0f, 0.0f, 0.0f);
const ThreeFloats green(0.0f, 1.0f, 0.0f);
const ThreeFloats blue(0.0f, 0.0f, 1.0f);
const TwoFloats one(1.0f, 1.0f);

// RGBA pixels from a function of the pixel position, in a new[] buffer.
template <typename Paint>
unsigned char *makePixels(int width, int height, Paint paint) {
  unsigned char *pixels = new unsigned char[static_cast<size_t>(width) * height * 4];
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t c = paint(x, y);
      unsigned char *p = pixels + (static_cast<size_t>(y) * width + x) * 4;
      p[0] = c >> 24;
      p[1] = (c >> 16) & 0xff;
      p[2] = (c >> 8) & 0xff;
      p[3] = c & 0xff;
    }
  return pixels;
}

unsigned char *solid(int width, int height, uint32_t rgba) {
  return makePixels(width, height, [rgba](int, int) { return rgba; });
}

const Rgb black{0, 0, 0}, fullRed{255, 0, 0}, fullGreen{0, 255, 0}, fullBlue{0, 0, 255}, fullWhite{255, 255, 255};

class DrawerConformance : public ::testing::TestWithParam<DrawerKind> {
 protected:
  // Opens the window and initialises a new drawer for it.
  void open(int width = 1280, int height = 720, int scalingMode = 0, DrawerFactory create = nullptr) {
    drawer.reset();
    window.reset();
    window.reset(new GLTestWindow(width, height));
    ASSERT_TRUE(window->isOpen()) << window->getError();
    AppSettings settings;
    settings.scalingMode = scalingMode;
    drawer = (create ? create : GetParam().create)();
    drawer->initialise(width, height, settings);
    drawer->beginDrawing();
  }

  void read() { drawer->getScreenPixels(pixels); }

  // Window pixel at (x, y), y counted from the top.
  Rgb at(int x, int y) const {
    const int width = window->getWidth(), height = window->getHeight();
    const size_t i = (static_cast<size_t>(height - 1 - y) * width + x) * 3;
    return Rgb{pixels[i], pixels[i + 1], pixels[i + 2]};
  }

  // llvmpipe rounds colours and blends by a step or two.
  static ::testing::AssertionResult near(const Rgb &actual, const Rgb &expected, int tolerance = 3) {
    if (std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
        std::abs(actual.b - expected.b) <= tolerance)
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " is not " << expected;
  }

  void expectAt(int x, int y, const Rgb &expected, int tolerance = 3) {
    EXPECT_TRUE(near(at(x, y), expected, tolerance)) << "at (" << x << ", " << y << ")";
  }

  // A white horizontal line through (x, centreY) drawn with the soft line.
  void expectSoftWhiteLineAcross(int x, int centreY) {
    // Across the line, the soft line's alpha columns 2, 33, 192, 255, 255, 192, 33, 2.
    const int expected[8] = {2, 33, 192, 255, 255, 192, 33, 2};
    for (int row = 0; row < 8; ++row)
      expectAt(x, centreY - 4 + row, Rgb{expected[row], expected[row], expected[row]}, 6);
    expectAt(x, centreY - 5, black);
    expectAt(x, centreY + 4, black);
  }

  bool anyLitIn(int x0, int y0, int x1, int y1) const {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        const Rgb c = at(x, y);
        if (c.r + c.g + c.b > 0) return true;
      }
    return false;
  }

  std::unique_ptr<GLTestWindow> window;
  boost::shared_ptr<Drawer> drawer;
  std::vector<unsigned char> pixels;
};

TEST_P(DrawerConformance, SizesBeforeInitialiseAndFrameBufferName) {
  boost::shared_ptr<Drawer> fresh = GetParam().create();
  EXPECT_EQ(fresh->getDrawingAreaSize().x, 1280.0f);
  EXPECT_EQ(fresh->getDrawingAreaSize().y, 720.0f);
  EXPECT_EQ(fresh->getWindowSize().x, 1280.0f);
  EXPECT_EQ(fresh->getWindowSize().y, 720.0f);
  open();
  EXPECT_NE(drawer->getInternalImageData(drawer->getFrameBufferImage()), nullptr);
  drawer->loadSingleImage(nullptr, 16, 16, L"Nothing");
  EXPECT_EQ(drawer->getInternalImageData(L"Nothing"), nullptr);
}

TEST_P(DrawerConformance, TextWithAnUnregisteredFontDrawsNothing) {
  open();
  drawer->loadSingleImage(solid(16, 16, 0xffffffffu), 16, 16, L"Glyph");
  drawer->drawText(L"Murmel", L"NoSuchFont", TwoFloats(100, 100), 500, TextLayout::Left, 1.0f, white, 1.0f);
  // Even a caller's filled layout needs its font.
  TextLayout layout;
  TextLayout::GlyphPos glyph;
  glyph.name = L"Glyph";
  layout.glyphs.push_back(glyph);
  drawer->drawText(L"M", L"NoSuchFont", layout, TwoFloats(100, 100), 500, TextLayout::Centre, 1.0f, white, 1.0f);
  drawer->releaseFont(L"NoSuchFont");
  read();
  EXPECT_FALSE(anyLitIn(0, 0, 1280, 720));
}

TEST_P(DrawerConformance, FillRectCoversExactlyItsRectangleAndBlendsByAlpha) {
  open();
  drawer->fillRect(TwoFloats(100, 100), TwoFloats(200, 100), red, 1.0f);
  drawer->fillRect(TwoFloats(400, 100), TwoFloats(100, 100), white, 1.0f);
  drawer->fillRect(TwoFloats(400, 100), TwoFloats(100, 100), blue, 0.5f);
  read();
  expectAt(100, 100, fullRed);
  expectAt(299, 199, fullRed);
  expectAt(99, 150, black);
  expectAt(300, 150, black);
  expectAt(150, 99, black);
  expectAt(150, 200, black);
  expectAt(450, 150, Rgb{128, 128, 255});
}

TEST_P(DrawerConformance, GradientRunsFromTopToBottom) {
  open();
  drawer->fillGradient(TwoFloats(0, 0), TwoFloats(100, 720), red, blue, 1.0f, 1.0f);
  drawer->fillRect(TwoFloats(200, 0), TwoFloats(100, 720), white, 1.0f);
  drawer->fillGradient(TwoFloats(200, 0), TwoFloats(100, 720), ThreeFloats(), ThreeFloats(), 0.0f, 1.0f);
  read();
  expectAt(50, 0, fullRed, 4);
  expectAt(50, 719, fullBlue, 4);
  expectAt(50, 360, Rgb{127, 0, 128}, 4);
  // A black gradient from transparent to opaque over white.
  expectAt(250, 0, fullWhite, 4);
  expectAt(250, 360, Rgb{127, 127, 127}, 4);
  expectAt(250, 719, black, 4);
}

TEST_P(DrawerConformance, PaddedImageDrawsAtItsNaturalSize) {
  open();
  // 100 x 50, uploaded as 128 x 64: left half red, right half blue.
  drawer->loadSingleImage(makePixels(100, 50, [](int x, int) { return x < 50 ? 0xff0000ffu : 0x0000ffffu; }), 100, 50,
                          L"Halves");
  drawer->drawImage(L"Halves", TwoFloats(200, 100), one, white, 1.0f);
  drawer->drawImage(L"Halves", TwoFloats(600, 100), TwoFloats(2, 3), white, 1.0f);
  read();
  expectAt(200, 100, fullRed);
  expectAt(249, 149, fullRed);
  expectAt(250, 100, fullBlue);
  expectAt(299, 149, fullBlue);
  expectAt(300, 120, black);
  expectAt(250, 150, black);
  expectAt(199, 120, black);
  // Scaled: 200 x 150.
  expectAt(601, 101, fullRed);
  expectAt(798, 248, fullBlue);
  expectAt(800, 200, black);
  expectAt(700, 250, black);
}

// Grey images and atlases, padded or not, are kept as grey and alpha; every
// texel draws as its RGBA pixel would.
TEST_P(DrawerConformance, GreyImagesKeepTheirGreyAndAlpha) {
  open();
  // Each column its own grey, each row its own alpha: a texel packed or
  // padded out of place shows.
  const auto paint = [](int x, int y) -> uint32_t {
    const uint32_t grey = 40 + 25 * x, alpha = 255 - 45 * y;
    return grey << 24 | grey << 16 | grey << 8 | alpha;
  };
  struct Whole final : TextureAtlas {
    AtlasImage member{L"GreyAtlas", L"GreyAtlas", TwoFloats(0, 0), TwoFloats(1, 1)};
    Whole() {
      numImages = 1;
      images = &member;
    }
  };
  // A single image of powers of two; an atlas padded from 6 x 3.
  drawer->loadSingleImage(makePixels(8, 4, paint), 8, 4, L"Grey");
  drawer->loadTextureAtlas(makePixels(6, 3, paint), 6, 3, Whole());
  const int texel = 32;
  const ThreeFloats tint(1.0f, 0.5f, 1.0f);
  drawer->drawImage(L"Grey", TwoFloats(0, 0), TwoFloats(texel, texel), tint, 1.0f);
  drawer->drawImage(L"GreyAtlas", TwoFloats(300, 0), TwoFloats(texel, texel), tint, 1.0f);
  read();
  const auto expectTexel = [&](int left, int x, int y, int offset) {
    const uint32_t rgba = paint(x, y);
    const int value = static_cast<int>(std::lround((rgba >> 24) * (rgba & 0xff) / 255.0));
    expectAt(left + texel * x + offset, texel * y + offset, Rgb{value, value / 2, value});
  };
  for (const int width : {8, 6}) {
    const int left = width == 8 ? 0 : 300, height = width / 2;
    // Just before each texel's centre, where its left and upper neighbours
    // weigh least.
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) expectTexel(left, x, y, texel / 2 - 1);
    // Half of the far corner's last pixel comes from beyond the image.
    expectTexel(left, width - 1, height - 1, texel - 1);
  }
}

TEST_P(DrawerConformance, PaddingRepeatsTheEdgeColour) {
  open();
  // Magnified, the last column and row are filtered with the padding.
  drawer->loadSingleImage(solid(100, 50, 0xff0000ffu), 100, 50, L"Red");
  drawer->drawImage(L"Red", TwoFloats(0, 0), TwoFloats(8, 8), white, 1.0f);
  read();
  expectAt(799, 200, fullRed);
  expectAt(400, 399, fullRed);
  expectAt(799, 399, fullRed);
}

TEST_P(DrawerConformance, RotationIsClockwiseAboutThePivot) {
  open();
  drawer->loadSingleImage(makePixels(128, 64, [](int x, int) { return x < 64 ? 0xff0000ffu : 0x0000ffffu; }), 128, 64,
                          L"Halves");
  // A quarter turn about the top-left corner: the image's x axis points down.
  drawer->drawRotImage(L"Halves", TwoFloats(400, 200), 90.0f * GetParam().anglePerDegree, TwoFloats(0, 0), one, white,
                       1.0f);
  // Half a turn about the centre of the image, scaled by 2.
  drawer->drawRotImage(L"Halves", TwoFloats(700, 200), 180.0f * GetParam().anglePerDegree, TwoFloats(64, 32),
                       TwoFloats(2, 2), white, 1.0f);
  read();
  expectAt(370, 230, fullRed);
  expectAt(370, 300, fullBlue);
  expectAt(430, 230, black);
  expectAt(370, 170, black);
  // The scaled half turn covers 700..956 x 200..328 with blue on the left.
  expectAt(720, 260, fullBlue);
  expectAt(930, 260, fullRed);
  expectAt(960, 260, black);
}

TEST_P(DrawerConformance, SubImageCutsFractionsOfTheImage) {
  open();
  drawer->loadSingleImage(makePixels(64, 64,
                                     [](int x, int y) {
                                       if (y < 32) return x < 32 ? 0xff0000ffu : 0x00ff00ffu;
                                       return x < 32 ? 0x0000ffffu : 0xffffffffu;
                                     }),
                          64, 64, L"Quadrants");
  drawer->drawSubImage(L"Quadrants", TwoFloats(100, 100), TwoFloats(0.5f, 0.0f), TwoFloats(0.5f, 0.5f), one, white,
                       1.0f);
  drawer->drawSubImage(L"Quadrants", TwoFloats(300, 100), TwoFloats(0.0f, 0.5f), TwoFloats(1.0f, 0.5f), TwoFloats(2, 2),
                       white, 1.0f);
  read();
  expectAt(101, 101, fullGreen);
  expectAt(130, 130, fullGreen);
  expectAt(133, 110, black);
  expectAt(110, 133, black);
  // The bottom half, doubled: 128 x 64, blue then white.
  expectAt(310, 110, fullBlue);
  expectAt(420, 160, fullWhite);
  expectAt(310, 166, black);
}

TEST_P(DrawerConformance, TiledImageRepeatsTheWholeTexture) {
  open();
  drawer->loadSingleImage(makePixels(64, 64, [](int x, int) { return x < 32 ? 0xff0000ffu : 0x0000ffffu; }), 64, 64,
                          L"Stripes");
  // Drawn plainly first, so the tiled draw finds its texture bound already.
  drawer->drawImage(L"Stripes", TwoFloats(0, 400), one, white, 1.0f);
  drawer->drawTiledImage(L"Stripes", TwoFloats(0, 100), TwoFloats(256, 64), TwoFloats(4, 1), white, 1.0f);
  drawer->drawTiledImage(L"NoSuchImage", TwoFloats(400, 100), TwoFloats(50, 50), TwoFloats(3, 3), green, 1.0f);
  // Plain draws keep clamped edges after a tiled draw of their texture.
  drawer->drawImage(L"Stripes", TwoFloats(600, 100), TwoFloats(4, 1), white, 1.0f);
  read();
  for (int tile = 0; tile < 4; ++tile) {
    expectAt(tile * 64 + 10, 130, fullRed);
    expectAt(tile * 64 + 54, 130, fullBlue);
  }
  expectAt(260, 130, black);
  expectAt(425, 125, fullGreen);
  expectAt(600, 130, fullRed);
  expectAt(855, 130, fullBlue);
}

TEST_P(DrawerConformance, LinesAreEightUnitsWideWithTheSoftLineByDefault) {
  open();
  drawer->drawLine(L"NoSuchLine", TwoFloats(100, 200), TwoFloats(500, 200), white, 1.0f);
  drawer->drawLine(L"NoSuchLine", TwoFloats(700, 100), TwoFloats(700, 400), red, 1.0f);
  read();
  expectSoftWhiteLineAcross(300, 200);
  expectAt(699, 250, fullRed, 20);
  expectAt(706, 250, black);
  expectAt(693, 250, black);
  expectAt(700, 90, black);
}

TEST_P(DrawerConformance, LinesKeepTheSoftLineAfterItsImageIsReleased) {
  open();
  const std::wstring line = GetParam().defaultLineName;
  drawer->releaseImage(line);
  drawer->drawLine(L"NoSuchLine", TwoFloats(100, 200), TwoFloats(500, 200), white, 1.0f);
  // Drawing the released name as an image leaves an empty record under it.
  drawer->releaseImage(line);
  drawer->drawImage(line, TwoFloats(0, 0), one, white, 1.0f);
  drawer->drawLine(line, TwoFloats(100, 400), TwoFloats(500, 400), white, 1.0f);
  read();
  expectSoftWhiteLineAcross(300, 200);
  expectSoftWhiteLineAcross(300, 400);
}

TEST_P(DrawerConformance, ConnectedLineDrawsOnlyBetweenInnerPoints) {
  open();
  const std::vector<float> widths(4, 10.0f), alphas(4, 1.0f);
  const std::vector<ThreeFloats> colours{white, red, blue, white};
  drawer->drawConnectedLine(L"", {TwoFloats(0, 100), TwoFloats(200, 100), TwoFloats(600, 100)}, widths, colours,
                            alphas);
  read();
  EXPECT_FALSE(anyLitIn(0, 50, 1280, 150));

  drawer->drawConnectedLine(L"", {TwoFloats(0, 300), TwoFloats(200, 300), TwoFloats(600, 300), TwoFloats(800, 300)},
                            widths, colours, alphas);
  read();
  EXPECT_FALSE(anyLitIn(0, 280, 195, 320));
  EXPECT_FALSE(anyLitIn(605, 280, 1280, 320));
  // Colours run from point 1 (red) to point 2 (blue).
  const Rgb nearStart = at(210, 300), nearEnd = at(590, 300);
  EXPECT_GT(nearStart.r, 200);
  EXPECT_LT(nearStart.b, 40);
  EXPECT_GT(nearEnd.b, 200);
  EXPECT_LT(nearEnd.r, 40);
  // Half-width 10 on each side.
  EXPECT_FALSE(anyLitIn(300, 312, 500, 320));
  EXPECT_FALSE(anyLitIn(300, 280, 500, 288));
}

TEST_P(DrawerConformance, TranslationAccumulatesUntilBeginDrawing) {
  open();
  drawer->translate(TwoFloats(100, 0));
  drawer->translate(TwoFloats(0, 50));
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(10, 10), red, 1.0f);
  read();
  expectAt(105, 55, fullRed);
  expectAt(5, 5, black);
  drawer->endDrawing();
  drawer->beginDrawing();
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(10, 10), green, 1.0f);
  read();
  expectAt(5, 5, fullGreen);
  expectAt(105, 55, black);
}

TEST_P(DrawerConformance, ViewportIsACanvasOfItsOwnSize) {
  open();
  drawer->setViewport(TwoFloats(640, 360), TwoFloats(320, 180));
  // Units of the viewport; clipped to it.
  drawer->fillRect(TwoFloats(-100, -100), TwoFloats(260, 190), red, 1.0f);
  drawer->resetViewport();
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(10, 10), green, 1.0f);
  // A canvas of 640 x 360 units shown in 320 x 180 pixels: half scale.
  drawer->setViewport(TwoFloats(0, 360), TwoFloats(640, 360));
  drawer->resetViewport();
  read();
  expectAt(641, 361, fullRed);
  expectAt(799, 449, fullRed);
  expectAt(801, 420, black);
  expectAt(700, 451, black);
  expectAt(639, 400, black);
  expectAt(700, 359, black);
  expectAt(5, 5, fullGreen);
}

TEST_P(DrawerConformance, ViewportScalesItsUnits) {
  open();
  drawer->setViewport(TwoFloats(0, 360), TwoFloats(320, 180));
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(160, 90), blue, 1.0f);
  drawer->resetViewport();
  read();
  // A 320 x 180 unit rectangle of a 1280 x 720 area is 320 x 180 pixels here.
  expectAt(1, 361, fullBlue);
  expectAt(158, 448, fullBlue);
  expectAt(162, 420, black);
  expectAt(100, 452, black);
}

TEST_P(DrawerConformance, AViewportOrWindowWithoutAreaDrawsNothingAndBreaksNothing) {
  open();
  drawer->setViewport(TwoFloats(100, 100), TwoFloats(0, 0));
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(1280, 720), red, 1.0f);
  drawer->resetViewport();
  drawer->fillRect(TwoFloats(500, 300), TwoFloats(10, 10), green, 1.0f);
  read();
  expectAt(505, 305, fullGreen);
  EXPECT_FALSE(anyLitIn(0, 0, 500, 300));
  // A window of no size leaves the drawing area as it is.
  AppSettings settings;
  settings.scalingMode = 1;
  boost::shared_ptr<Drawer> fresh = GetParam().create();
  fresh->initialise(0, 0, settings);
  EXPECT_EQ(fresh->getDrawingAreaSize().x, 1280.0f);
  EXPECT_EQ(fresh->getDrawingAreaSize().y, 720.0f);
}

TEST_P(DrawerConformance, FrameBufferImageShowsItsDrawingUpright) {
  open();
  // Never drawn into, the image is transparent, whatever the buffers' size.
  drawer->drawImage(drawer->getFrameBufferImage(), TwoFloats(0, 0), one, white, 1.0f);
  read();
  EXPECT_FALSE(anyLitIn(0, 0, 1280, 720));
  drawer->startFrameBufferDrawing();
  drawer->beginDrawing();
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(1280, 100), red, 1.0f);
  drawer->fillRect(TwoFloats(0, 620), TwoFloats(1280, 100), blue, 1.0f);
  drawer->endFrameBufferDrawing();
  read();
  // Nothing reached the window yet.
  EXPECT_FALSE(anyLitIn(0, 0, 1280, 720));
  drawer->drawImage(drawer->getFrameBufferImage(), TwoFloats(0, 0), one, white, 1.0f);
  read();
  expectAt(640, 50, fullRed);
  expectAt(640, 670, fullBlue);
  expectAt(640, 360, black);
}

TEST_P(DrawerConformance, WithoutFrameBuffersTheBracketDrawsIntoTheWindowUpright) {
  if (!GetParam().createWithoutFrameBuffers) GTEST_SKIP() << "cannot be kept off frame buffers";
  open(1280, 720, 0, GetParam().createWithoutFrameBuffers);
  EXPECT_FALSE(drawer->canSupport(Drawer::FrameBufferDrawing));
  // Only errors of the bracket count.
  while (glGetError() != GL_NO_ERROR) continue;
  drawer->startFrameBufferDrawing();
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(1280, 100), red, 1.0f);
  drawer->endFrameBufferDrawing();
  drawer->fillRect(TwoFloats(0, 620), TwoFloats(1280, 100), blue, 1.0f);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  read();
  expectAt(640, 50, fullRed);
  expectAt(640, 360, black);
  expectAt(640, 670, fullBlue);
}

TEST_P(DrawerConformance, BlendModes) {
  struct Replace final : Drawer::CustomBlendMode {
    void apply() override { glBlendFunc(GL_ONE, GL_ZERO); }
  } replace;
  struct Multiply final : Drawer::CustomBlendMode {
    void apply() override { glBlendFunc(GL_DST_COLOR, GL_ZERO); }
  } multiply;
  open();
  const ThreeFloats grey(0.5f, 0.5f, 0.5f);
  for (int x : {0, 200, 400, 600, 800, 1000}) drawer->fillRect(TwoFloats(x, 0), TwoFloats(100, 100), grey, 1.0f);
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(100, 100), red, 0.5f);
  drawer->setBlendMode(1);
  drawer->fillRect(TwoFloats(200, 0), TwoFloats(100, 100), red, 0.5f);
  // Opaque, and still added.
  drawer->fillRect(TwoFloats(1000, 0), TwoFloats(100, 100), red, 1.0f);
  // An unregistered number keeps the additive mode.
  drawer->setBlendMode(7);
  drawer->fillRect(TwoFloats(400, 0), TwoFloats(100, 100), red, 0.5f);
  drawer->registerCustomBlendMode(5, &replace);
  drawer->registerCustomBlendMode(5, &multiply);
  drawer->setBlendMode(5);
  drawer->fillRect(TwoFloats(600, 0), TwoFloats(100, 100), red, 0.25f);
  drawer->setBlendMode(0);
  drawer->fillRect(TwoFloats(800, 0), TwoFloats(100, 100), red, 0.5f);
  read();
  expectAt(50, 50, Rgb{191, 64, 64});
  expectAt(250, 50, Rgb{255, 128, 128});
  expectAt(450, 50, Rgb{255, 128, 128});
  // The first object registered under 5 stays: colour replaced, alpha ignored.
  expectAt(650, 50, fullRed);
  expectAt(850, 50, Rgb{191, 64, 64});
  expectAt(1050, 50, Rgb{255, 128, 128});
}

// The drawers skip clearing depth that nothing tests; a mode that tests it
// finds it cleared at every frame, or a frame's draws would fail against the last.
TEST_P(DrawerConformance, DepthIsClearedForAModeThatTestsIt) {
  struct Depth final : Drawer::CustomBlendMode {
    void apply() override {
      glEnable(GL_DEPTH_TEST);
      glDepthFunc(GL_LESS);
    }
  } depth;
  open();
  drawer->registerCustomBlendMode(5, &depth);
  for (const ThreeFloats &colour : {red, ThreeFloats(0.0f, 0.0f, 1.0f)}) {
    drawer->beginDrawing();
    drawer->setBlendMode(5);
    drawer->fillRect(TwoFloats(0, 0), TwoFloats(100, 100), colour, 1.0f);
    drawer->endDrawing();
  }
  read();
  glDisable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  expectAt(50, 50, fullBlue);
}

TEST_P(DrawerConformance, AtlasMembersShareOneTextureAndGoTogether) {
  open();
  // 100 x 50 (padded inside): left square red, right square blue.
  struct TwoSquares final : TextureAtlas {
    AtlasImage members[2] = {AtlasImage(L"Left", L"Squares", TwoFloats(0, 0), TwoFloats(0.5f, 1.0f)),
                             AtlasImage(L"Right", L"Squares", TwoFloats(0.5f, 0), TwoFloats(0.5f, 1.0f))};
    TwoSquares() {
      numImages = 2;
      images = members;
    }
  } atlas;
  drawer->loadTextureAtlas(makePixels(100, 50, [](int x, int) { return x < 50 ? 0xff0000ffu : 0x0000ffffu; }), 100, 50,
                           atlas);
  drawer->drawImage(L"Right", TwoFloats(100, 100), one, white, 1.0f);
  drawer->drawImage(L"Left", TwoFloats(300, 100), TwoFloats(2, 2), white, 1.0f);
  read();
  // Each member is 50 x 50.
  expectAt(101, 101, fullBlue);
  expectAt(148, 148, fullBlue);
  expectAt(151, 120, black);
  expectAt(120, 151, black);
  expectAt(301, 101, fullRed);
  expectAt(398, 198, fullRed);
  expectAt(401, 150, black);

  drawer->releaseImage(L"Left");
  EXPECT_EQ(drawer->getInternalImageData(L"Left"), nullptr);
  EXPECT_EQ(drawer->getInternalImageData(L"Right"), nullptr);
  drawer->releaseImage(L"Left");
  drawer->beginDrawing();
  drawer->drawImage(L"Right", TwoFloats(100, 100), one, white, 1.0f);
  read();
  EXPECT_FALSE(anyLitIn(90, 90, 160, 160));
}

TEST_P(DrawerConformance, ASecondLoadUnderATakenNameKeepsTheFirst) {
  open();
  drawer->loadSingleImage(solid(32, 32, 0xff0000ffu), 32, 32, L"Taken");
  drawer->loadSingleImage(solid(64, 64, 0x0000ffffu), 64, 64, L"Taken");
  // An unknown name drawn once stands for an empty image from then on.
  drawer->drawImage(L"Unknown", TwoFloats(300, 100), one, white, 1.0f);
  drawer->loadSingleImage(solid(32, 32, 0x00ff00ffu), 32, 32, L"Unknown");
  drawer->drawImage(L"Taken", TwoFloats(100, 100), one, white, 1.0f);
  drawer->drawImage(L"Unknown", TwoFloats(300, 100), one, white, 1.0f);
  read();
  expectAt(110, 110, fullRed);
  expectAt(140, 140, black);
  EXPECT_FALSE(anyLitIn(290, 90, 340, 140));
}

TEST_P(DrawerConformance, TextureBindingSurvivesUploadsAndFills) {
  open();
  drawer->loadSingleImage(solid(16, 16, 0xff0000ffu), 16, 16, L"A");
  drawer->drawImage(L"A", TwoFloats(0, 0), one, white, 1.0f);
  // Loading mid-frame (as the loading screen does) and filling both leave
  // another texture bound; the next draw of A must bind it again.
  drawer->loadSingleImage(solid(16, 16, 0x0000ffffu), 16, 16, L"B");
  drawer->drawImage(L"A", TwoFloats(100, 0), one, white, 1.0f);
  drawer->fillRect(TwoFloats(200, 0), TwoFloats(16, 16), green, 1.0f);
  drawer->drawImage(L"A", TwoFloats(300, 0), one, white, 1.0f);
  // A released texture's number may come back for the next upload.
  drawer->releaseImage(L"A");
  drawer->loadSingleImage(solid(16, 16, 0xffffffffu), 16, 16, L"C");
  drawer->drawImage(L"C", TwoFloats(400, 0), one, blue, 1.0f);
  read();
  expectAt(8, 8, fullRed);
  expectAt(108, 8, fullRed);
  expectAt(208, 8, fullGreen);
  expectAt(308, 8, fullRed);
  expectAt(408, 8, fullBlue);

  // B stays bound past the frame; the next frame's fill is plain all the same.
  drawer->drawImage(L"B", TwoFloats(500, 0), one, white, 1.0f);
  drawer->endDrawing();
  drawer->beginDrawing();
  drawer->fillRect(TwoFloats(600, 0), TwoFloats(16, 16), green, 1.0f);
  read();
  expectAt(608, 8, fullGreen);
}

// A drawer made after the shader drawer in the same context (as when the
// drawer is chosen again) draws as its own, not through a program left in use.
TEST_P(DrawerConformance, DrawsAsItsOwnAfterAShaderDrawerInTheSameContext) {
  open(1280, 720, 0, [] { return boost::shared_ptr<Drawer>(new GLESDrawer); });
  drawer->loadSingleImage(solid(16, 16, 0x00ff00ffu), 16, 16, L"Green");
  drawer->drawImage(L"Green", TwoFloats(0, 0), one, white, 1.0f);
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(16, 16), green, 1.0f);
  drawer->endDrawing();
  drawer = GetParam().create();
  drawer->initialise(1280, 720, AppSettings());
  drawer->beginDrawing();
  drawer->loadSingleImage(solid(16, 16, 0x0000ffffu), 16, 16, L"Blue");
  drawer->fillRect(TwoFloats(100, 100), TwoFloats(50, 50), red, 1.0f);
  drawer->drawImage(L"Blue", TwoFloats(200, 100), one, white, 1.0f);
  read();
  expectAt(125, 125, fullRed);
  expectAt(208, 108, fullBlue);
  expectAt(50, 50, black);
}

TEST_P(DrawerConformance, SecondImageModulatesUntilEndDrawing) {
  open();
  if (!drawer->canSupport(Drawer::MultiTexturing)) GTEST_SKIP() << "one texture unit";
  drawer->loadSingleImage(solid(32, 32, 0xffffffffu), 32, 32, L"White");
  drawer->loadSingleImage(solid(32, 32, 0xff0000ffu), 32, 32, L"Red");
  const DrawerKind &kind = GetParam();
  if (kind.secondImageVertexShader) {
    drawer->loadShader(kind.secondImageVertexShader, kind.secondImageFragmentShader, L"Second");
    drawer->useShader(L"Second");
  }
  drawer->useSecondImage(L"Red");
  drawer->drawImage(L"White", TwoFloats(0, 0), one, white, 1.0f);
  drawer->endDrawing();
  drawer->useShader(L"");
  drawer->drawImage(L"White", TwoFloats(100, 0), one, white, 1.0f);
  read();
  expectAt(16, 16, fullRed);
  expectAt(116, 16, fullWhite);
}

TEST_P(DrawerConformance, ShaderProgramsTakeParameters) {
  open();
  if (!drawer->canSupport(Drawer::ShaderPrograms)) GTEST_SKIP() << "no shader programs";
  drawer->loadShader(GetParam().vertexShader,
                     L"uniform float level; void main() { gl_FragColor = vec4(level, 0.0, 1.0, 1.0); }", L"Level");
  drawer->useShader(L"Level");
  drawer->registerShaderParam(L"level");
  drawer->setShaderParam(L"level", 1.0f);
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(50, 50), white, 1.0f);
  // An unregistered parameter changes nothing.
  drawer->setShaderParam(L"unknown", 0.0f);
  drawer->fillRect(TwoFloats(100, 0), TwoFloats(50, 50), white, 1.0f);
  drawer->useShader(L"");
  drawer->fillRect(TwoFloats(200, 0), TwoFloats(50, 50), green, 1.0f);
  read();
  expectAt(25, 25, Rgb{255, 0, 255});
  expectAt(125, 25, Rgb{255, 0, 255});
  expectAt(225, 25, fullGreen);
}

TEST_P(DrawerConformance, ShaderFailuresAreReportedWithTheirLog) {
  open();
  if (!drawer->canSupport(Drawer::ShaderPrograms)) GTEST_SKIP() << "no shader programs";
  const wchar_t *vertex = L"void main() { gl_Position = ftransform(); }";
  const wchar_t *fragment = L"void main() { gl_FragColor = vec4(1.0); }";
  struct Case {
    const wchar_t *name, *vertexSource, *fragmentSource;
    // What the report says failed; null for no report.
    const char *failure;
  };
  const Case cases[] = {
      {L"Fine", vertex, fragment, nullptr},
      {L"BadVertex", L"void main() { gl_Position = nowhere; }", fragment, "the vertex shader does not compile"},
      {L"BadFragment", vertex, L"void main() { gl_FragColor = 1.0 +; }", "the fragment shader does not compile"},
      // Both compile; the program lacks a fragment main.
      {L"NoMain", vertex, L"vec4 shade() { return vec4(1.0); }", "the program does not link"},
  };
  for (const Case &c : cases) {
    ::testing::internal::CaptureStderr();
    drawer->loadShader(c.vertexSource, c.fragmentSource, c.name);
    const std::string said = ::testing::internal::GetCapturedStderr();
    if (!c.failure) {
      EXPECT_EQ(said, "");
      continue;
    }
    std::string name;
    for (const wchar_t *n = c.name; *n; ++n) name += static_cast<char>(*n);
    EXPECT_EQ(said.rfind("Murmel Worlds: shader \"" + name + "\": " + c.failure + ": ", 0), 0u) << said;
    // The driver's own log follows.
    EXPECT_NE(said.find("error"), std::string::npos) << said;
    EXPECT_TRUE(!said.empty() && said.back() == '\n') << said;
  }
  // A broken program chosen leaves the one in use before drawing.
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(50, 50), red, 1.0f);
  drawer->useShader(L"NoMain");
  drawer->fillRect(TwoFloats(100, 0), TwoFloats(50, 50), green, 1.0f);
  read();
  expectAt(25, 25, fullRed);
  expectAt(125, 25, fullGreen);
}

TEST_P(DrawerConformance, UsingAShaderNeverLoadedIsAProgrammingError) {
  open();
  EXPECT_DEATH(drawer->useShader(L"Missing"),
               "failed assertion `shaders.find\\(currentShader\\) != shaders.end\\(\\)'");
}

TEST_P(DrawerConformance, ScalingModeZeroKeepsTheAreaShape) {
  open(1280, 1024, 0);
  EXPECT_EQ(drawer->getDrawingAreaSize().y, 720.0f);
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(1280, 720), white, 1.0f);
  read();
  // Bars of 152 pixels above and below.
  expectAt(640, 151, black);
  expectAt(640, 152, fullWhite);
  expectAt(640, 871, fullWhite);
  expectAt(640, 872, black);
  drawer->setViewport(TwoFloats(0, 0), TwoFloats(640, 360));
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(640, 360), red, 1.0f);
  read();
  expectAt(1, 153, fullRed);
  expectAt(638, 510, fullRed);
  expectAt(642, 300, fullWhite);
}

TEST_P(DrawerConformance, ScalingModeZeroInAWindowOfTheSameShapeUsesItAll) {
  open(1920, 1080, 0);
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(640, 360), white, 1.0f);
  read();
  expectAt(0, 0, fullWhite);
  expectAt(958, 538, fullWhite);
  expectAt(962, 542, black);
}

TEST_P(DrawerConformance, ScalingModeOneTakesTheWindowShape) {
  open(1280, 1024, 1);
  EXPECT_EQ(drawer->getDrawingAreaSize().x, 1280.0f);
  EXPECT_EQ(drawer->getDrawingAreaSize().y, 1024.0f);
  drawer->fillRect(TwoFloats(0, 1000), TwoFloats(1280, 24), white, 1.0f);
  read();
  expectAt(640, 999, black);
  expectAt(640, 1000, fullWhite);
  expectAt(640, 1023, fullWhite);
}

// A window that changes shape, as a phone's page turns, gets the area and
// the picture a start at its new size would have given.
TEST_P(DrawerConformance, ARefitDrawsAsAStartAtTheNewSize) {
  struct Case {
    int fromWidth, fromHeight, toWidth, toHeight, scalingMode;
  };
  const Case cases[] = {
      {640, 360, 360, 640, 1},  // landscape to portrait
      {360, 640, 640, 360, 1},  // portrait to landscape
      {640, 360, 480, 270, 1},  // the same shape
      {640, 360, 360, 640, 0},  // the area keeps its shape, boxed
  };
  // Laid out on the area, so that a wrong area or projection moves it.
  const auto drawScene = [this] {
    const TwoFloats area = drawer->getDrawingAreaSize();
    drawer->beginDrawing();
    drawer->fillRect(TwoFloats(0, 0), area, blue, 1.0f);
    drawer->fillRect(area * 0.25f, area * 0.5f, red, 1.0f);
    drawer->fillRect(area - TwoFloats(40, 40), TwoFloats(40, 40), green, 1.0f);
    read();
    drawer->endDrawing();
  };
  for (const Case &c : cases) {
    const std::string name = std::to_string(c.toWidth) + "x" + std::to_string(c.toHeight) + " from " +
                             std::to_string(c.fromWidth) + "x" + std::to_string(c.fromHeight) + ", mode " +
                             std::to_string(c.scalingMode);
    open(c.fromWidth, c.fromHeight, c.scalingMode);
    drawer->endDrawing();
    // As the application resizes its window: the same OpenGL context.
    ASSERT_TRUE(SDL_SetVideoMode(c.toWidth, c.toHeight, 0, SDL_OPENGL)) << SDL_GetError();
    drawer->refitWindow(c.toWidth, c.toHeight);
    const TwoFloats refittedArea = drawer->getDrawingAreaSize();
    drawScene();
    const std::vector<unsigned char> refitted = pixels;

    open(c.toWidth, c.toHeight, c.scalingMode);
    EXPECT_EQ(drawer->getDrawingAreaSize().x, refittedArea.x) << name;
    EXPECT_EQ(drawer->getDrawingAreaSize().y, refittedArea.y) << name;
    drawScene();
    EXPECT_TRUE(refitted == pixels) << name;
  }
}

TEST_P(DrawerConformance, ReadBackIsBottomUpRgb) {
  open();
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(1280, 1), red, 1.0f);
  drawer->fillRect(TwoFloats(0, 719), TwoFloats(1, 1), blue, 1.0f);
  pixels.assign(10, 7);
  read();
  ASSERT_EQ(pixels.size(), 1280u * 720u * 3u);
  // The first bytes are the bottom row, starting with its left pixel.
  EXPECT_EQ(pixels[0], 0);
  EXPECT_EQ(pixels[2], 255);
  EXPECT_EQ(pixels[3 * 1280 * 719], 255);
  EXPECT_EQ(pixels[3 * 1280 * 719 + 2], 0);
}

TEST_P(DrawerConformance, ReadBackOfAWindowWhoseRowsAreNotWordAligned) {
  // 1001 x 3 bytes per row: rows must be packed tightly.
  open(1001, 601, 1);
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(1280, 1000), green, 1.0f);
  read();
  ASSERT_EQ(pixels.size(), 1001u * 601u * 3u);
  expectAt(0, 0, fullGreen);
  expectAt(1000, 600, fullGreen);
  expectAt(500, 300, fullGreen);
}

TEST_P(DrawerConformance, BuiltInImagesDrawAsRingsAndText) {
  open();
  loadBuiltInImages(*drawer);

  const ThreeFloats background(0.1f, 0.15f, 0.3f);
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(1280, 720), background, 1.0f);
  // Rings: discs of shrinking radius about (640, 390), each covering the last.
  const ThreeFloats colours[] = {ThreeFloats(0.9f, 0.3f, 0.2f), background, ThreeFloats(0.95f, 0.8f, 0.2f), background,
                                 ThreeFloats(0.3f, 0.7f, 0.9f), background};
  for (int i = 0; i < 6; ++i) {
    const float radius = 230.0f - i * 35.0f;
    const float scale = radius / 480.0f;
    drawer->drawImage(L"Circle", TwoFloats(640 - 512 * scale, 390 - 512 * scale), TwoFloats(scale, scale), colours[i],
                      1.0f);
  }
  drawer->drawImage(L"Title", TwoFloats(286, 20), one, white, 1.0f);
  drawer->drawImage(L"AnyKey", TwoFloats(470, 650), one, white, 1.0f);
  read();
  if (const char *folder = std::getenv("MURMEL_SCREENSHOT_DIR"))
    PngFile::writeBottomUpRgb(std::string(folder) + "/BuiltInImages-" + GetParam().name + ".png", 1280, 720, pixels);

  const Rgb bg{26, 38, 77};
  // Each ring takes exactly its colour inside, the background between.
  expectAt(640 + 212, 390, Rgb{230, 77, 51});
  expectAt(640, 390 - 177, bg);
  expectAt(640 - 142, 390, Rgb{242, 204, 51});
  expectAt(640, 390 + 107, bg);
  expectAt(640 + 72, 390, Rgb{77, 179, 230});
  expectAt(640, 390, bg);
  expectAt(640 + 240, 390, bg);
  // The title and prompt keep to their 708 x 91 and 340 x 51 boxes.
  const auto litAbove = [&](int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        if (at(x, y).r > bg.r + 8) return true;
    return false;
  };
  EXPECT_TRUE(litAbove(286, 20, 286 + 708, 20 + 91));
  EXPECT_FALSE(litAbove(0, 0, 1280, 20));
  EXPECT_FALSE(litAbove(0, 111, 1280, 150));
  EXPECT_FALSE(litAbove(0, 20, 286, 111));
  EXPECT_FALSE(litAbove(994, 20, 1280, 111));
  EXPECT_TRUE(litAbove(470, 650, 470 + 340, 650 + 51));
  EXPECT_FALSE(litAbove(0, 701, 1280, 720));
  EXPECT_FALSE(litAbove(0, 650, 470, 701));
  EXPECT_FALSE(litAbove(810, 650, 1280, 701));
}

boost::shared_ptr<Drawer> makeImmediateDrawer() { return boost::shared_ptr<Drawer>(new GLImmediateDrawer); }
boost::shared_ptr<Drawer> makeImmediateDrawerWithoutFrameBuffers() {
  return boost::shared_ptr<Drawer>(new GLImmediateDrawer(GLImmediateDrawer::FrameBuffers::Never));
}

boost::shared_ptr<Drawer> makeESDrawer() { return boost::shared_ptr<Drawer>(new GLESDrawer); }
boost::shared_ptr<Drawer> makeESDrawerWithoutFrameBuffers() {
  return boost::shared_ptr<Drawer>(new GLESDrawer(GLESDrawer::FrameBuffers::Never));
}

// The shader drawer hands its transforms to every program as uniforms, in
// an order of its own; the program finds them by name.
const wchar_t *const esVertexShader =
    L"uniform float unused; uniform mat4 pxuModelviewMatrix; attribute vec4 pxuVertexPosition;"
    L"uniform mat4 pxuProjectionMatrix;"
    L"void main() { gl_Position = pxuModelviewMatrix * pxuVertexPosition * pxuProjectionMatrix + vec4(unused); }";

// Takes the second image's own coordinates and sampler.
const wchar_t *const esSecondImageVertexShader =
    L"attribute vec4 pxuVertexPosition; attribute vec2 pxuBaseTexCoords; attribute vec2 pxuSecondTexCoords;"
    L"uniform mat4 pxuModelviewMatrix; uniform mat4 pxuProjectionMatrix; varying vec2 base; varying vec2 second;"
    L"void main() { base = pxuBaseTexCoords; second = pxuSecondTexCoords;"
    L"  gl_Position = pxuModelviewMatrix * pxuVertexPosition * pxuProjectionMatrix; }";
const wchar_t *const esSecondImageFragmentShader =
    L"uniform sampler2D pxuBaseTexture; uniform sampler2D pxuSecondTexture; uniform vec4 pxuColour;"
    L"varying vec2 base; varying vec2 second;"
    L"void main() { gl_FragColor = pxuColour * texture2D(pxuBaseTexture, base) * texture2D(pxuSecondTexture, second); "
    L"}";

INSTANTIATE_TEST_SUITE_P(Drawers, DrawerConformance,
                         ::testing::Values(DrawerKind{"GLImmediateDrawer", &makeImmediateDrawer, 1.0f,
                                                      &makeImmediateDrawerWithoutFrameBuffers, L"lineDefault",
                                                      L"void main() { gl_Position = ftransform(); }", nullptr, nullptr},
                                           DrawerKind{"GLESDrawer", &makeESDrawer, 3.14159265f / 180.0f,
                                                      &makeESDrawerWithoutFrameBuffers, L"-default-line-",
                                                      esVertexShader, esSecondImageVertexShader,
                                                      esSecondImageFragmentShader}),
                         [](const ::testing::TestParamInfo<DrawerKind> &info) { return info.param.name; });

}  // namespace
