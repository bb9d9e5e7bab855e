// Font atlases rendered from Debian's fonts (fonts-dejavu-core,
// fonts-quicksand, installed by scripts/install-deps.sh) and from small
// fonts written by the tests.
#include "framework/drawing/FreetypeFontAtlas.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

typedef std::map<wchar_t, GlyphMetrics> Metrics;

FilePath dejaVu() { return FontAtlas::findFontFile(L"DejaVuSans"); }

// Mappings of the font file in this process: one per open FreeType face.
int mappingsOf(const std::string &path) {
  std::ifstream maps("/proc/self/maps");
  int count = 0;
  for (std::string line; std::getline(maps, line);)
    if (line.size() >= path.size() && line.compare(line.size() - path.size(), path.size(), path) == 0) ++count;
  return count;
}

int alphaAt(const unsigned char *page, int dimension, int x, int y) { return page[(y * dimension + x) * 4 + 3]; }

TEST(FreetypeFontAtlas, FindsFontsByNameInFontFoldersAndTheDataFolder) {
  const FilePath dejavu = dejaVu();
  ASSERT_TRUE(dejavu.isFile()) << "fonts-dejavu-core is missing";
  EXPECT_EQ(L"DejaVuSans.ttf", dejavu.getNameWithExtension());
  EXPECT_TRUE(FontAtlas::findFontFile(L"Quicksand-Light").isFile()) << "fonts-quicksand is missing";
  EXPECT_TRUE(FontAtlas::findFontFile(L"NoSuchFontAnywhere").getPath().empty());
  EXPECT_TRUE(FontAtlas::findFontFile(L"").getPath().empty());
  EXPECT_TRUE(FontAtlas::findFontFile(L"../fonts/truetype/dejavu/DejaVuSans").getPath().empty());

  // The user's own folders come first, searched to their subfolders; the
  // data folder's "fonts" last.
  TempDir home, data;
  ASSERT_EQ(0, system(("mkdir -p " + home.path() + "/.fonts/a/b " + data.path() + "/fonts").c_str()));
  home.writeFile(".fonts/a/b/DejaVuSans.ttf", "own copy");
  data.writeFile("fonts/Shipped.ttf", "shipped");
  ScopedEnv homeEnv("HOME", home.path().c_str()), xdg("XDG_DATA_HOME", nullptr),
      dataEnv("MURMEL_WORLDS_DATA", data.path().c_str());
  EXPECT_EQ(home.widePath() + L"/.fonts/a/b/DejaVuSans.ttf", FontAtlas::findFontFile(L"DejaVuSans").getPath());
  EXPECT_EQ(data.widePath() + L"/fonts/Shipped.ttf", FontAtlas::findFontFile(L"Shipped").getPath());
}

TEST(FreetypeFontAtlas, PreRendersNinetySixNamedGlyphsInAGridSizedFromTheLargestCell) {
  EXPECT_EQ(512, FreetypeFontAtlas::dimensionForCell(30));
  EXPECT_EQ(1024, FreetypeFontAtlas::dimensionForCell(52));
  ASSERT_EQ(96u, std::wstring(FreetypeFontAtlas::preRendered).size());
  EXPECT_EQ(L'\u00a3', FreetypeFontAtlas::preRendered[4]);

  for (const float size : {12.0f, 31.0f, 48.0f}) {
    SCOPED_TRACE(size);
    Metrics metrics;
    FreetypeFontAtlas atlas(dejaVu(), size, metrics, L"Body");
    ASSERT_EQ(96u, metrics.size());
    ASSERT_EQ(96, atlas.numImages);
    EXPECT_EQ(L"BodyA", metrics[L'A'].name);
    int largestCell = static_cast<int>(metrics[L' '].lineHeight);
    for (const auto &entry : metrics)
      largestCell = std::max(
          largestCell, std::max(static_cast<int>(entry.second.advance), static_cast<int>(entry.second.width)) + 1);
    const int d = atlas.getAtlasDimensions();
    EXPECT_EQ(FreetypeFontAtlas::dimensionForCell(largestCell), d);
    ASSERT_EQ(d * d * 4, atlas.imageDataSize);

    // In order, left to right; the first glyph of the second row at x = 0,
    // one cell lower.
    int secondRow = 0;
    while (atlas.images[secondRow].position.y == 0.0f) ++secondRow;
    for (int i = 0; i < 96; ++i)
      EXPECT_EQ(L"Body" + std::wstring(1, FreetypeFontAtlas::preRendered[i]), atlas.images[i].name);
    EXPECT_GT(secondRow, 8);
    EXPECT_EQ(0.0f, atlas.images[secondRow].position.x);
    EXPECT_EQ(metrics[L'A'].lineHeight / d, atlas.images[secondRow].position.y);
    EXPECT_LT(atlas.images[1].position.x, atlas.images[2].position.x);

    // "A" has ink in its box; the space has none.
    const AtlasImage &a = atlas.images[34];
    ASSERT_EQ(L"BodyA", a.name);
    int ink = 0;
    for (int y = 0; y < static_cast<int>(a.size.y * d); ++y)
      for (int x = 0; x < static_cast<int>(a.size.x * d); ++x)
        ink +=
            alphaAt(atlas.imageData, d, static_cast<int>(a.position.x * d) + x, static_cast<int>(a.position.y * d) + y);
    EXPECT_GT(ink, 0);
    EXPECT_EQ(0.0f, atlas.images[0].size.x);

    // A page larger than the drawer's largest texture is refused, whole.
    Metrics refused;
    const FreetypeFontAtlas tooLarge(dejaVu(), size, refused, L"Body", d / 2);
    EXPECT_TRUE(refused.empty());
    EXPECT_EQ(0, tooLarge.numImages + tooLarge.getAtlasDimensions());
    EXPECT_EQ(nullptr, tooLarge.imageData);
    Metrics fitting;
    EXPECT_EQ(96, FreetypeFontAtlas(dejaVu(), size, fitting, L"Body", d).numImages);

    // The drawer takes the page; afterwards the atlas points at nothing.
    std::unique_ptr<unsigned char[]> page = atlas.takeImageData();
    EXPECT_TRUE(page);
    EXPECT_EQ(nullptr, atlas.imageData);
    EXPECT_EQ(0, atlas.imageDataSize);
    EXPECT_FALSE(atlas.takeImageData());
  }
}

TEST(FreetypeFontAtlas, AFileThatIsNoFontGivesNoGlyphsAndReleasesItsFace) {
  TempDir dir;
  dir.writeFile("Broken.ttf", "not a font at all");
  for (const FilePath &file : {FilePath(dir.widePath() + L"/Broken.ttf"), FilePath(dir.widePath() + L"/Gone.ttf")}) {
    Metrics metrics;
    FreetypeFontAtlas atlas(file, 20.0f, metrics, L"Body");
    EXPECT_TRUE(metrics.empty());
    EXPECT_EQ(0, atlas.numImages);
    EXPECT_EQ(nullptr, atlas.imageData);
    AtlasImage *image = nullptr;
    unsigned char *pixels = reinterpret_cast<unsigned char *>(1);
    int width = 1, height = 1;
    bool newTexture = true;
    atlas.getMissingGlyphData(L'e', metrics, &image, &pixels, width, height, newTexture);
    EXPECT_EQ(nullptr, image);
    EXPECT_EQ(nullptr, pixels);
    EXPECT_EQ(0, width + height);
  }
  Metrics metrics;
  EXPECT_TRUE(FreetypeFontAtlas(dejaVu(), 0.0f, metrics, L"Body").numImages == 0 && metrics.empty());

  // The face (a mapping of the font file) goes with its atlas.
  const std::string path = dejaVu().getUtf8Path();
  const int before = mappingsOf(path);
  {
    Metrics kept;
    FreetypeFontAtlas atlas(dejaVu(), 20.0f, kept, L"Body");
    EXPECT_EQ(before + 1, mappingsOf(path));
  }
  EXPECT_EQ(before, mappingsOf(path));
}

// Adds characters beyond the pre-rendered set until the atlas has started
// new pages; every glyph must lie inside its page, clear of the others on it.
TEST(FreetypeFontAtlas, AddsMissingGlyphsOnFirstUseAndStartsNewPagesWhenFull) {
  Metrics metrics;
  FreetypeFontAtlas atlas(dejaVu(), 11.0f, metrics, L"Body");
  const int d = atlas.getAtlasDimensions();
  ASSERT_GT(d, 0);
  std::vector<TwoFloats> corners, ends;
  for (int i = 0; i < 96; ++i) {
    corners.push_back(atlas.images[i].position);
    ends.push_back(atlas.images[i].position + atlas.images[i].size);
  }
  int pages = 1;
  const float tallestBefore = metrics[L'A'].lineHeight;
  // Stacked accents and the integral sign are taller than any pre-rendered glyph.
  std::wstring extra = L"\u01fa\u222b";
  for (wchar_t c = 0x00c0; c < 0x0250; ++c) extra += c;
  // The Greek capitals have a hole at U+03A2.
  for (wchar_t c = 0x0391; c < 0x03ca; ++c)
    if (c != 0x03a2) extra += c;
  for (wchar_t c = 0x0410; c < 0x0450; ++c) extra += c;
  for (const wchar_t c : extra) {
    if (metrics.count(c)) continue;
    AtlasImage *image = nullptr;
    unsigned char *pixels = nullptr;
    int width = 0, height = 0;
    bool newTexture = false;
    atlas.getMissingGlyphData(c, metrics, &image, &pixels, width, height, newTexture);
    ASSERT_TRUE(image && pixels) << int(c);
    delete[] pixels;
    ASSERT_EQ(1u, metrics.count(c));
    EXPECT_EQ(L"Body" + std::wstring(1, c), image->name);
    const TwoFloats end = image->position + image->size;
    if (newTexture) {
      ++pages;
      EXPECT_EQ(d, width);
      EXPECT_EQ(d, height);
      EXPECT_EQ(0.0f, image->position.x + image->position.y);
      corners.clear();
      ends.clear();
    } else {
      EXPECT_EQ(static_cast<int>(image->size.x * d + 0.5f), width);
      EXPECT_EQ(static_cast<int>(image->size.y * d + 0.5f), height);
    }
    EXPECT_LE(end.x * d, d) << int(c);
    EXPECT_LE(end.y * d, d) << int(c);
    for (size_t k = 0; k < corners.size(); ++k) {
      const bool apart = end.x <= corners[k].x || ends[k].x <= image->position.x || end.y <= corners[k].y ||
                         ends[k].y <= image->position.y;
      EXPECT_TRUE(apart) << "glyph " << int(c) << " overlaps " << k;
    }
    corners.push_back(image->position);
    ends.push_back(end);
  }
  EXPECT_GE(pages, 2);
  EXPECT_GT(metrics[L'\u222b'].lineHeight, tallestBefore);
  EXPECT_EQ(atlas.numImages, static_cast<int>(metrics.size()));
}

// FreeType answers a character its face lacks with the "missing glyph"
// box; the atlas refuses such a character, so that text leaves it out.
TEST(FreetypeFontAtlas, CharactersTheFaceLacksAreRefusedRatherThanBoxed) {
  Metrics metrics;
  FreetypeFontAtlas atlas(dejaVu(), 20.0f, metrics, L"Body");
  ASSERT_EQ(96u, metrics.size());
  for (const wchar_t c : {L'\u03a2', L'\ue000', L'\u4e00', L'\u0001'}) {
    AtlasImage *image = nullptr;
    unsigned char *pixels = nullptr;
    int width = 1, height = 1;
    bool newTexture = true;
    atlas.getMissingGlyphData(c, metrics, &image, &pixels, width, height, newTexture);
    EXPECT_EQ(nullptr, image) << int(c);
    EXPECT_EQ(nullptr, pixels) << int(c);
    delete[] pixels;
    EXPECT_EQ(0, width + height) << int(c);
  }
  EXPECT_EQ(96u, metrics.size());
  EXPECT_EQ(96, atlas.numImages);
}

TEST(FreetypeFontAtlas, CoverageCopiesHonourThePitchAndStayInsideTheirBuffer) {
  // Two rows of three; stored bottom row first when the pitch is negative.
  const unsigned char topDown[] = {1, 2, 3, 0, 4, 5, 6, 0};
  const unsigned char bottomUp[] = {4, 5, 6, 0, 1, 2, 3, 0};
  struct Case {
    const char *name;
    const unsigned char *buffer;
    int pitch, x, y, maxWidth, maxHeight;
    // Alpha of the 3 x 2 buffer's pixels after the copy.
    int expected[6];
  };
  const Case cases[] = {
      {"down", topDown, 4, 0, 0, 9, 9, {1, 2, 3, 4, 5, 6}},
      {"up", bottomUp, -4, 0, 0, 9, 9, {1, 2, 3, 4, 5, 6}},
      {"right edge", topDown, 4, 2, 0, 9, 9, {0, 0, 1, 0, 0, 4}},
      {"bottom edge", topDown, 4, 0, 1, 9, 9, {0, 0, 0, 1, 2, 3}},
      {"before the start", bottomUp, -4, -2, -1, 9, 9, {6, 0, 0, 0, 0, 0}},
      {"cell", topDown, 4, 1, 0, 1, 1, {0, 1, 0, 0, 0, 0}},
  };
  for (const Case &c : cases) {
    unsigned char rgba[3 * 2 * 4] = {};
    FreetypeFontAtlas::GreyBitmap bitmap;
    bitmap.buffer = c.buffer;
    bitmap.rows = 2;
    bitmap.width = 3;
    bitmap.pitch = c.pitch;
    FreetypeFontAtlas::drawCoverage(bitmap, rgba, 3, 2, c.x, c.y, c.maxWidth, c.maxHeight);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(c.expected[i], rgba[i * 4 + 3]) << c.name << " pixel " << i;
  }
}

// A one-bit font of 8-pixel-wide glyphs, as bitmap fonts are: the default
// glyph (for "A") a checkerboard, U+0100 to U+01FF 8 x 8 blocks, U+2000 a bar
// 30 pixels tall. FreeType renders it one bit a pixel.
std::string blockFont() {
  std::string glyphs;
  int count = 0;
  const auto add = [&](int encoding, int height, const char *evenRow, const char *oddRow) {
    glyphs += "STARTCHAR g" + std::to_string(encoding) + "\nENCODING " + std::to_string(encoding) +
              "\nSWIDTH 1000 0\nDWIDTH 8 0\nBBX 8 " + std::to_string(height) + " 0 0\nBITMAP\n";
    for (int row = 0; row < height; ++row) glyphs += std::string(row % 2 ? oddRow : evenRow) + "\n";
    glyphs += "ENDCHAR\n";
    ++count;
  };
  add(65, 8, "55", "AA");
  for (int c = 0x100; c < 0x200; ++c) add(c, 8, "FF", "FF");
  add(0x2000, 30, "FF", "FF");
  return "STARTFONT 2.1\nFONT -test-block-medium-r-normal--8-80-75-75-c-80-iso10646-1\nSIZE 8 75 75\n"
         "FONTBOUNDINGBOX 8 30 0 0\nSTARTPROPERTIES 4\nPIXEL_SIZE 8\nFONT_ASCENT 8\nFONT_DESCENT 0\n"
         "DEFAULT_CHAR 65\nENDPROPERTIES\nCHARS " +
         std::to_string(count) + "\n" + glyphs + "ENDFONT\n";
}

TEST(FreetypeFontAtlas, OneBitGlyphsBecomeFullCoverageAndATallGlyphOnTheLastRowStartsAPage) {
  TempDir dir;
  dir.writeFile("Block.bdf", blockFont());
  Metrics metrics;
  FreetypeFontAtlas atlas(FilePath(dir.widePath() + L"/Block.bdf"), 8.0f, metrics, L"Block");
  // Of the 96 only "A" is the font's: its default glyph, a copy of "A",
  // does not stand in for the others.
  ASSERT_EQ(1u, metrics.size());
  ASSERT_EQ(1u, metrics.count(L'A'));
  const int d = atlas.getAtlasDimensions();
  // Cells of 9 x 9 pixels.
  ASSERT_EQ(128, d);
  const AtlasImage &a = atlas.images[0];
  const int x0 = static_cast<int>(a.position.x * d), y0 = static_cast<int>(a.position.y * d);
  ASSERT_EQ(8, static_cast<int>(a.size.x * d));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      ASSERT_EQ((x + y) % 2 ? 255 : 0, alphaAt(atlas.imageData, d, x0 + x, y0 + y)) << x << ", " << y;

  // Blocks until the last row of the page, then the bar: too tall for that
  // row, so it starts a page of its own.
  AtlasImage *image = nullptr;
  unsigned char *pixels = nullptr;
  int width = 0, height = 0;
  bool newTexture = false;
  wchar_t block = 0x100;
  do {
    atlas.getMissingGlyphData(block++, metrics, &image, &pixels, width, height, newTexture);
    ASSERT_TRUE(image && !newTexture);
    delete[] pixels;
  } while (image->position.y * d + 2 * 9 <= d);
  atlas.getMissingGlyphData(L'\u2000', metrics, &image, &pixels, width, height, newTexture);
  ASSERT_TRUE(image);
  delete[] pixels;
  EXPECT_TRUE(newTexture);
  EXPECT_EQ(0.0f, image->position.x + image->position.y);
  EXPECT_EQ(31.0f, metrics[L'\u2000'].lineHeight);
  // The next glyph follows it on the new page.
  atlas.getMissingGlyphData(block, metrics, &image, &pixels, width, height, newTexture);
  delete[] pixels;
  EXPECT_FALSE(newTexture);
  EXPECT_EQ(9.0f / d, image->position.x);
  EXPECT_EQ(0.0f, image->position.y);
}

}  // namespace
