// Text through each drawer, in a real OpenGL window, with Debian's DejaVu
// Sans (fonts-dejavu-core). Every drawer is instantiated at the bottom.
#include "framework/app/AppSettings.h"
#include "framework/drawing/FreetypeFontAtlas.h"
#include "framework/drawing/GLDrawerBase.h"
#include "framework/drawing/GLESDrawer.h"
#include "platforms/desktop/drawing/GLImmediateDrawer.h"
#include "support/GLTestWindow.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <boost/shared_ptr.hpp>
#include <memory>
#include <string>
#include <vector>

namespace {

typedef boost::shared_ptr<Drawer> (*DrawerFactory)();

struct DrawerKind {
  const char *name;
  DrawerFactory create;
};

const ThreeFloats white(1.0f, 1.0f, 1.0f);
const float fontSize = 24.0f;

class DrawerText : public ::testing::TestWithParam<DrawerKind> {
 protected:
  void SetUp() override {
    window.reset(new GLTestWindow(640, 360));
    ASSERT_TRUE(window->isOpen()) << window->getError();
    AppSettings settings;
    settings.drawingAreaWidth = 640;
    settings.drawingAreaHeight = 360;
    drawer = GetParam().create();
    drawer->initialise(640, 360, settings);
    drawer->loadFont(L"DejaVuSans", fontSize, L"Body");
    ASSERT_NE(nullptr, glyph(L'A')) << "fonts-dejavu-core is missing";
    drawer->beginDrawing();
  }

  const GLDrawerBase::GLImage *glyph(wchar_t c) const {
    return static_cast<const GLDrawerBase::GLImage *>(drawer->getInternalImageData(L"Body" + std::wstring(1, c)));
  }

  // The frame so far, then a clear one.
  std::vector<unsigned char> frame() {
    std::vector<unsigned char> pixels;
    drawer->getScreenPixels(pixels);
    drawer->endDrawing();
    drawer->beginDrawing();
    return pixels;
  }

  // Lit pixels in the rectangle of drawing units (y from the top).
  int litIn(const std::vector<unsigned char> &pixels, int x0, int y0, int x1, int y1) const {
    int lit = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, 360); ++y)
      for (int x = std::max(x0, 0); x < std::min(x1, 640); ++x) lit += pixels[((359 - y) * 640 + x) * 3] > 64;
    return lit;
  }

  std::unique_ptr<GLTestWindow> window;
  boost::shared_ptr<Drawer> drawer;
};

TEST_P(DrawerText, FindsAFontByNameAndDrawsItsGlyphsAboveTheBaseline) {
  EXPECT_NE(nullptr, glyph(L'~'));
  drawer->loadFont(L"NoSuchFontAnywhere", fontSize, L"Missing");
  EXPECT_EQ(nullptr, drawer->getInternalImageData(L"MissingA"));
  drawer->drawText(L"Hello", L"Missing", TwoFloats(100, 100), 400, TextLayout::Left, 1.0f, white, 1.0f);
  EXPECT_EQ(0, litIn(frame(), 0, 0, 640, 360));

  drawer->drawText(L"Hello", L"Body", TwoFloats(100, 100), 400, TextLayout::Left, 1.0f, white, 1.0f);
  const std::vector<unsigned char> pixels = frame();
  EXPECT_GT(litIn(pixels, 100, 100 - 24, 180, 100), 100);
  EXPECT_EQ(litIn(pixels, 0, 0, 640, 360), litIn(pixels, 98, 100 - 26, 180, 102));
}

// "Hello" has nothing below its baseline, at any scale.
TEST_P(DrawerText, GlyphsStandOnTheBaselineAtAnyScale) {
  for (const float scale : {1.0f, 2.0f, 0.5f}) {
    drawer->drawText(L"Hello", L"Body", TwoFloats(100, 200), 600, TextLayout::Left, scale, white, 1.0f);
    const std::vector<unsigned char> pixels = frame();
    int lowest = -1;
    for (int y = 0; y < 360; ++y)
      if (litIn(pixels, 0, y, 640, y + 1) > 0) lowest = y;
    EXPECT_NEAR(199, lowest, 1) << "scale " << scale;
    EXPECT_GT(litIn(pixels, 100, 200 - static_cast<int>(fontSize * scale), 640, 200), 0) << "scale " << scale;
  }
}

// A size whose atlas page would be larger than any texture is refused
// before its page is made: ten cells of about 1.2 times the size each.
TEST_P(DrawerText, ASizeWhosePageNoTextureCanHoldIsRefused) {
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  ASSERT_GT(largest, 0);
  while (glGetError() != GL_NO_ERROR) continue;
  drawer->loadFont(L"DejaVuSans", largest / 6.0f, L"Huge");
  EXPECT_EQ(nullptr, drawer->getInternalImageData(L"HugeA"));
  EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());
  drawer->drawText(L"Hello", L"Huge", TwoFloats(100, 100), 400, TextLayout::Left, 1.0f, white, 1.0f);
  EXPECT_EQ(0, litIn(frame(), 0, 0, 640, 360));
}

// The layout a caller holds: wrapped, justified and moved down as asked, and
// drawn as it stands once filled.
TEST_P(DrawerText, LaysOutIntoACallerHeldLayoutAndDrawsItUnchanged) {
  std::map<wchar_t, GlyphMetrics> metrics;
  FreetypeFontAtlas atlas(FontAtlas::findFontFile(L"DejaVuSans"), fontSize, metrics, L"Body");
  const float lineHeight = metrics.begin()->second.lineHeight;

  TextLayout fed;
  drawer->drawText(L"AB\nAB", L"Body", fed, TwoFloats(0, 50), 600, TextLayout::Left, 1.0f, white, 1.0f);
  ASSERT_EQ(4u, fed.glyphs.size());
  EXPECT_EQ(lineHeight, fed.glyphs[2].position.y - fed.glyphs[0].position.y);

  // Each line ends at the right edge; centred it keeps half the room to the left.
  TextLayout right, centre;
  drawer->drawText(L"aaa bbb", L"Body", right, TwoFloats(0, 50), 300, TextLayout::Right, 1.0f, white, 1.0f);
  drawer->drawText(L"aaa bbb", L"Body", centre, TwoFloats(0, 50), 300, TextLayout::Centre, 1.0f, white, 1.0f);
  const TextLayout::GlyphPos &last = right.glyphs.back();
  EXPECT_FLOAT_EQ(300.0f, last.position.x + last.width);
  EXPECT_FLOAT_EQ((300.0f - (last.position.x + last.width - right.glyphs[0].position.x)) * 0.5f,
                  centre.glyphs[0].position.x);

  // Too narrow for both words: the second starts the next line, its space dropped.
  TextLayout wrapped;
  const float words = last.position.x + last.width - right.glyphs[0].position.x;
  drawer->drawText(L"aaa bbb", L"Body", wrapped, TwoFloats(0, 50), words - 1.0f, TextLayout::Left, 1.0f, white, 1.0f);
  ASSERT_EQ(6u, wrapped.glyphs.size());
  EXPECT_EQ(0.0f, wrapped.glyphs[3].position.x);
  EXPECT_EQ(L'b', wrapped.glyphs[3].character);
  EXPECT_GT(wrapped.glyphs[3].position.y, wrapped.glyphs[2].position.y);
  frame();

  TextLayout held;
  drawer->drawText(L"Hello", L"Body", held, TwoFloats(100, 100), 400, TextLayout::Left, 1.0f, white, 1.0f);
  const std::vector<unsigned char> first = frame();
  drawer->drawText(L"Other words", L"Body", held, TwoFloats(100, 100), 400, TextLayout::Left, 1.0f, white, 1.0f);
  EXPECT_EQ(5u, held.glyphs.size());
  EXPECT_EQ(first, frame());
}

TEST_P(DrawerText, AddsCharactersOnFirstUseAndGrowsPagesThatReleaseWithTheFont) {
  EXPECT_EQ(nullptr, glyph(L'\u00e9'));
  drawer->drawText(L"\u00e9", L"Body", TwoFloats(100, 100), 400, TextLayout::Left, 1.0f, white, 1.0f);
  ASSERT_NE(nullptr, glyph(L'\u00e9'));
  const GLDrawerBase::GLImage added = *glyph(L'\u00e9');
  const std::vector<unsigned char> first = frame();
  EXPECT_GT(litIn(first, 100, 100 - 24, 130, 100), 20);
  drawer->drawText(L"\u00e9", L"Body", TwoFloats(100, 100), 400, TextLayout::Left, 1.0f, white, 1.0f);
  EXPECT_EQ(first, frame());
  EXPECT_EQ(added.image.texCoordOrigin.x, glyph(L'\u00e9')->image.texCoordOrigin.x);
  EXPECT_EQ(added.image.texCoordOrigin.y, glyph(L'\u00e9')->image.texCoordOrigin.y);

  // Enough letters to fill the first page: the last ones go onto another,
  // and draw from it.
  std::wstring many;
  for (wchar_t c = 0x00c0; c < 0x0250; ++c) many += c;
  for (wchar_t c = 0x0400; c < 0x0460; ++c) many += c;
  drawer->drawText(many, L"Body", TwoFloats(0, 30), 640, TextLayout::Left, 0.3f, white, 1.0f);
  frame();
  const wchar_t lastLetter = L'\u045f';
  ASSERT_NE(nullptr, glyph(lastLetter));
  EXPECT_NE(glyph(L'A')->texture, glyph(lastLetter)->texture);
  drawer->drawText(std::wstring(1, lastLetter), L"Body", TwoFloats(100, 100), 400, TextLayout::Left, 1.0f, white, 1.0f);
  EXPECT_GT(litIn(frame(), 100, 100 - 24, 130, 100), 20);

  drawer->releaseFont(L"Body");
  EXPECT_EQ(nullptr, glyph(L'A'));
  EXPECT_EQ(nullptr, glyph(lastLetter));
  drawer->drawText(L"Hello", L"Body", TwoFloats(100, 100), 400, TextLayout::Left, 1.0f, white, 1.0f);
  EXPECT_EQ(0, litIn(frame(), 0, 0, 640, 360));
}

boost::shared_ptr<Drawer> makeImmediateDrawer() { return boost::shared_ptr<Drawer>(new GLImmediateDrawer); }
boost::shared_ptr<Drawer> makeESDrawer() { return boost::shared_ptr<Drawer>(new GLESDrawer); }

INSTANTIATE_TEST_SUITE_P(Drawers, DrawerText,
                         ::testing::Values(DrawerKind{"GLImmediateDrawer", &makeImmediateDrawer},
                                           DrawerKind{"GLESDrawer", &makeESDrawer}),
                         [](const ::testing::TestParamInfo<DrawerKind> &info) { return info.param.name; });

}  // namespace
