#include "framework/drawing/FreetypeFontAtlas.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H

#include <algorithm>
#include <cstring>

FreetypeFontAtlas::Creator FreetypeFontAtlas::creator;

const wchar_t FreetypeFontAtlas::preRendered[numPreRendered + 1] =
    L" !\"#\u00a3$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";

class FreetypeFontAtlas::FreetypeSingleton {
 public:
  ~FreetypeSingleton() {
    if (library) FT_Done_FreeType(library);
  }
  // Null when FreeType cannot start.
  static FT_Library getLibrary() { return instance()->library; }
  // Every face holds the library, so that a face released during the
  // program's exit still finds it.
  static std::shared_ptr<FreetypeSingleton> instance() {
    static const std::shared_ptr<FreetypeSingleton> one(new FreetypeSingleton);
    return one;
  }

 private:
  FreetypeSingleton() {
    if (FT_Init_FreeType(&library) != 0) library = nullptr;
  }
  FT_Library library = nullptr;
};

struct FreetypeFontAtlas::Face {
  ~Face() {
    if (face) FT_Done_Face(face);
  }
  std::shared_ptr<FreetypeSingleton> library = FreetypeSingleton::instance();
  FT_Face face = nullptr;
};

namespace {

// A glyph's metric box, in whole pixels.
struct Box {
  int width;
  int height;
  int advance;
  int cellWidth() const { return std::max(advance, width) + 1; }
};

// Loads the character's own glyph; false when the face has none, rather
// than FreeType's "missing glyph" box (glyph index 0) in its place.
bool loadOwnGlyph(FT_Face face, wchar_t character, FT_Int32 flags) {
  const FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(character));
  return index != 0 && FT_Load_Glyph(face, index, flags) == 0;
}

Box boxOf(const FT_GlyphSlot slot) {
  return Box{static_cast<int>(slot->metrics.width / 64), static_cast<int>(slot->metrics.height / 64),
             static_cast<int>(slot->metrics.horiAdvance / 64)};
}

// The rendered glyph in the slot as 8-bit coverage, converted when FreeType
// gives another format (one-bit strikes, colour glyphs).
class Coverage {
 public:
  Coverage(FT_Library library, const FT_Bitmap &source) : library(library) {
    FT_Bitmap_Init(&converted);
    const FT_Bitmap *grey = &source;
    int levels = 256;
    if (source.pixel_mode != FT_PIXEL_MODE_GRAY) {
      if (FT_Bitmap_Convert(library, &source, &converted, 1) != 0) return;
      grey = &converted;
      levels = converted.num_grays;
      // Converted coverage counts 0 .. levels - 1; the atlas wants 0 .. 255.
      if (levels > 1 && levels != 256) {
        for (unsigned r = 0; r < converted.rows; ++r) {
          unsigned char *row = converted.buffer + static_cast<size_t>(r) * std::abs(converted.pitch);
          for (unsigned c = 0; c < converted.width; ++c)
            row[c] = static_cast<unsigned char>(row[c] * 255 / (levels - 1));
        }
      }
    }
    bitmap.buffer = grey->buffer;
    bitmap.rows = static_cast<int>(grey->rows);
    bitmap.width = static_cast<int>(grey->width);
    bitmap.pitch = grey->pitch;
  }
  ~Coverage() { FT_Bitmap_Done(library, &converted); }
  Coverage(const Coverage &) = delete;
  Coverage &operator=(const Coverage &) = delete;

  // Empty when the conversion failed.
  FreetypeFontAtlas::GreyBitmap bitmap;

 private:
  FT_Library library;
  FT_Bitmap converted;
};

// White, fully transparent.
std::unique_ptr<unsigned char[]> clearPixels(int width, int height) {
  const size_t count = static_cast<size_t>(width) * height;
  std::unique_ptr<unsigned char[]> pixels(new unsigned char[count * 4]);
  for (size_t i = 0; i < count; ++i) {
    pixels[i * 4] = pixels[i * 4 + 1] = pixels[i * 4 + 2] = 255;
    pixels[i * 4 + 3] = 0;
  }
  return pixels;
}

}  // namespace

boost::shared_ptr<FontAtlas> FreetypeFontAtlas::Creator::createInstance(const FilePath &fontFile, float size,
                                                                        std::map<wchar_t, GlyphMetrics> &metrics,
                                                                        const std::wstring &fontName,
                                                                        int maxDimension) {
  return boost::shared_ptr<FontAtlas>(new FreetypeFontAtlas(fontFile, size, metrics, fontName, maxDimension));
}

int FreetypeFontAtlas::dimensionForCell(int largestCell) {
  int dimension = 1;
  while (dimension < 10 * largestCell) dimension <<= 1;
  return dimension;
}

void FreetypeFontAtlas::drawCoverage(const GreyBitmap &bitmap, unsigned char *rgba, int bufferWidth, int bufferHeight,
                                     int x, int y, int maxWidth, int maxHeight) {
  if (!bitmap.buffer) return;
  const int rows = std::min(bitmap.rows, maxHeight);
  const int columns = std::min(bitmap.width, maxWidth);
  // Row 0 is the top row whichever way the rows run in memory.
  const unsigned char *row = bitmap.buffer;
  if (bitmap.pitch < 0) row -= static_cast<long>(bitmap.pitch) * (bitmap.rows - 1);
  for (int r = 0; r < rows; ++r, row += bitmap.pitch) {
    const int dy = y + r;
    if (dy < 0 || dy >= bufferHeight) continue;
    const int first = std::max(0, -x), last = std::min(columns, bufferWidth - x);
    unsigned char *out = rgba + (static_cast<size_t>(dy) * bufferWidth + x + first) * 4;
    for (int c = first; c < last; ++c, out += 4) {
      out[0] = out[1] = out[2] = 255;
      out[3] = row[c];
    }
  }
}

FreetypeFontAtlas::FreetypeFontAtlas(const FilePath &fontFile, float size, std::map<wchar_t, GlyphMetrics> &metrics,
                                     const std::wstring &fontName, int maxDimension)
    : face(new Face), fontName(fontName) {
  FT_Library library = FreetypeSingleton::getLibrary();
  if (!library || !(size > 0.0f)) return;
  if (FT_New_Face(library, fontFile.getUtf8Path().c_str(), 0, &face->face) != 0) {
    face->face = nullptr;
    return;
  }
  FT_Face ft = face->face;
  if (FT_Set_Char_Size(ft, 0, static_cast<FT_F26Dot6>(size * 64), 0, 0) != 0) return;

  int cellWidth = 0, cellHeight = 0;
  for (int i = 0; i < numPreRendered; ++i) {
    if (!loadOwnGlyph(ft, preRendered[i], FT_LOAD_DEFAULT)) continue;
    const Box box = boxOf(ft->glyph);
    cellWidth = std::max(cellWidth, box.cellWidth());
    cellHeight = std::max(cellHeight, box.height + 1);
  }
  if (cellWidth == 0) return;
  // Refused before the page is made: a page no texture can hold would only
  // cost its memory and fail on upload.
  const int d = dimensionForCell(std::max(cellWidth, cellHeight));
  if (d > maxDimension) return;
  maxGlyphHeight = cellHeight;
  atlasDimension = d;
  std::unique_ptr<unsigned char[]> page = clearPixels(d, d);

  const std::wstring atlasName = fontFile.getName();
  int x = 0, y = 0;
  glyphImages.reserve(numPreRendered);
  for (int i = 0; i < numPreRendered; ++i) {
    // A character the face cannot render is left to be asked for on use.
    if (!loadOwnGlyph(ft, preRendered[i], FT_LOAD_RENDER)) continue;
    const Coverage coverage(library, ft->glyph->bitmap);
    drawCoverage(coverage.bitmap, page.get(), d, d, x, y, cellWidth, cellHeight);
    addGlyph(preRendered[i], atlasName, static_cast<float>(x), static_cast<float>(y), metrics);
    x += cellWidth;
    if (x + cellWidth >= d) {
      y += cellHeight;
      x = 0;
    }
  }
  cursorX = static_cast<float>(x);
  cursorY = static_cast<float>(y);
  ownImageData(std::move(page), d * d * 4);
}

FreetypeFontAtlas::~FreetypeFontAtlas() = default;

void FreetypeFontAtlas::addGlyph(wchar_t character, const std::wstring &atlasName, float x, float y,
                                 std::map<wchar_t, GlyphMetrics> &metrics) {
  const FT_GlyphSlot slot = face->face->glyph;
  const Box box = boxOf(slot);
  const float d = static_cast<float>(atlasDimension);
  const std::wstring name = fontName + character;
  glyphImages.push_back(AtlasImage(name, atlasName, TwoFloats(x / d, y / d), TwoFloats(box.width / d, box.height / d)));
  numImages = static_cast<int>(glyphImages.size());
  images = glyphImages.data();

  GlyphMetrics glyph;
  glyph.name = name;
  glyph.width = slot->metrics.width / 64.0f;
  glyph.bearingX = slot->metrics.horiBearingX / 64.0f;
  glyph.advance = slot->metrics.horiAdvance / 64.0f;
  glyph.top = static_cast<float>(slot->bitmap_top);
  glyph.lineHeight = static_cast<float>(maxGlyphHeight);
  metrics.insert(std::make_pair(character, glyph));
}

void FreetypeFontAtlas::getMissingGlyphData(wchar_t character, std::map<wchar_t, GlyphMetrics> &metrics,
                                            AtlasImage **image, unsigned char **pixels, int &width, int &height,
                                            bool &newTexture) {
  *image = nullptr;
  *pixels = nullptr;
  width = height = 0;
  newTexture = false;
  FT_Face ft = face->face;
  if (!ft || atlasDimension == 0 || !loadOwnGlyph(ft, character, FT_LOAD_RENDER)) return;
  const Coverage coverage(FreetypeSingleton::getLibrary(), ft->glyph->bitmap);
  const Box box = boxOf(ft->glyph);
  const int d = atlasDimension;
  const int cellWidth = box.cellWidth();
  maxGlyphHeight = std::max(maxGlyphHeight, box.height + 1);

  int x = static_cast<int>(cursorX), y = static_cast<int>(cursorY);
  if (x + cellWidth > d) {
    x = 0;
    y += maxGlyphHeight;
  }
  // Tested on every glyph, not only when a row wraps: a taller glyph on the
  // last row would otherwise reach below the page.
  if (y + maxGlyphHeight > d) {
    x = y = 0;
    newTexture = true;
  }
  cursorX = static_cast<float>(x + cellWidth);
  cursorY = static_cast<float>(y);

  // A glyph larger than a whole page is cut to the page.
  width = newTexture ? d : std::min(box.width, d);
  height = newTexture ? d : std::min(box.height, d);
  std::unique_ptr<unsigned char[]> buffer = clearPixels(width, height);
  drawCoverage(coverage.bitmap, buffer.get(), width, height, 0, 0, cellWidth, maxGlyphHeight);
  *pixels = buffer.release();

  addGlyph(character, fontName, static_cast<float>(x), static_cast<float>(y), metrics);
  *image = &glyphImages.back();
}
