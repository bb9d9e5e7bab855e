#pragma once

#include "framework/drawing/FontAtlas.h"

#include <limits>
#include <memory>
#include <vector>

// A font atlas rendered with FreeType 2. Making one renders the 96 common
// characters of preRendered into a square page with room for a 10 x 10 grid
// of cells; each later character is rendered on first use into the space
// left, or onto a new page once the page is full. The FreeType face stays
// open for the atlas's life and is closed with it. Main thread only.
class FreetypeFontAtlas final : public FontAtlas {
 public:
  class Creator final : public FontAtlas::Creator {
   public:
    boost::shared_ptr<FontAtlas> createInstance(const FilePath &fontFile, float size,
                                                std::map<wchar_t, GlyphMetrics> &metrics, const std::wstring &fontName,
                                                int maxDimension) override;
  };
  // The factory the drawers use unless told otherwise.
  static Creator creator;

  // Space, "!" to "#", the pound sign, then "$" to "~".
  static constexpr int numPreRendered = 96;
  static const wchar_t preRendered[numPreRendered + 1];

  // The process's one FreeType library, made on first use and released
  // after the last face, at the latest when the program exits.
  class FreetypeSingleton;

  // Rows of 8-bit coverage; a negative pitch means the rows run bottom-up in
  // memory, as FreeType's bitmaps may.
  struct GreyBitmap {
    const unsigned char *buffer = nullptr;
    int rows = 0;
    int width = 0;
    int pitch = 0;
  };

  // Renders the 96 characters and adds one metrics entry per character the
  // face has (an existing entry stays). A file FreeType cannot open or size,
  // a size that is not positive, or one whose page side would exceed
  // maxDimension pixels leaves the atlas empty and metrics unchanged.
  FreetypeFontAtlas(const FilePath &fontFile, float size, std::map<wchar_t, GlyphMetrics> &metrics,
                    const std::wstring &fontName, int maxDimension = std::numeric_limits<int>::max());
  ~FreetypeFontAtlas() override;

  void getMissingGlyphData(wchar_t character, std::map<wchar_t, GlyphMetrics> &metrics, AtlasImage **image,
                           unsigned char **pixels, int &width, int &height, bool &newTexture) override;
  int getAtlasDimensions() const override { return atlasDimension; }

  // The smallest power of two with room for 10 cells of that side.
  static int dimensionForCell(int largestCell);
  // Writes a glyph's coverage into an RGBA buffer as white pixels with that
  // alpha, its top-left corner at (x, y): at most maxWidth x maxHeight of it,
  // and only what lies inside the buffer.
  static void drawCoverage(const GreyBitmap &bitmap, unsigned char *rgba, int bufferWidth, int bufferHeight, int x,
                           int y, int maxWidth, int maxHeight);

 private:
  struct Face;

  // Adds the glyph image of the character whose rendering is in the face's
  // slot, at pixel (x, y) of a page, and its metrics.
  void addGlyph(wchar_t character, const std::wstring &atlasName, float x, float y,
                std::map<wchar_t, GlyphMetrics> &metrics);

  std::unique_ptr<Face> face;
  std::wstring fontName;
  int atlasDimension = 0;
  // The cell height: the tallest glyph's height + 1.
  int maxGlyphHeight = 0;
  // Where the next glyph goes, in pixels of the current page.
  float cursorX = 0.0f;
  float cursorY = 0.0f;
  std::vector<AtlasImage> glyphImages;
};
