#include "TextPainter.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <limits>

struct TextPainter::Face {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
};

TextPainter::TextPainter(const std::string &fontFile) : face(new Face) {
  if (FT_Init_FreeType(&face->library) != 0) {
    face->library = nullptr;
    return;
  }
  if (FT_New_Face(face->library, fontFile.c_str(), 0, &face->face) != 0) face->face = nullptr;
}

TextPainter::~TextPainter() {
  if (face->face) FT_Done_Face(face->face);
  if (face->library) FT_Done_FreeType(face->library);
  delete face;
}

bool TextPainter::isValid() const { return face->face != nullptr; }

bool TextPainter::render(const std::u32string &text, double pixelSize, double originX, double baseline,
                         RgbaCanvas *canvas, Ink &ink) {
  FT_Face f = face->face;
  if (!f || FT_Set_Char_Size(f, 0, static_cast<FT_F26Dot6>(std::lround(pixelSize * 64.0)), 72, 72) != 0) return false;
  ink = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest(),
         std::numeric_limits<double>::lowest()};
  double penX = originX;
  FT_UInt previous = 0;
  for (char32_t c : text) {
    const FT_UInt index = FT_Get_Char_Index(f, c);
    if (previous && index && FT_HAS_KERNING(f)) {
      FT_Vector kerning;
      if (FT_Get_Kerning(f, previous, index, FT_KERNING_UNFITTED, &kerning) == 0) penX += kerning.x / 64.0;
    }
    previous = index;
    // Unhinted outlines placed at fractional pen positions keep the spacing
    // and the antialiasing true to the design.
    if (FT_Load_Glyph(f, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) return false;
    const double whole = std::floor(penX);
    FT_Outline_Translate(&f->glyph->outline, static_cast<FT_Pos>(std::lround((penX - whole) * 64.0)), 0);
    if (FT_Render_Glyph(f->glyph, FT_RENDER_MODE_NORMAL) != 0) return false;
    const FT_Bitmap &bitmap = f->glyph->bitmap;
    const int left = static_cast<int>(whole) + f->glyph->bitmap_left;
    const int top = static_cast<int>(std::floor(baseline)) - f->glyph->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      for (unsigned column = 0; column < bitmap.width; ++column) {
        const unsigned char coverage = bitmap.buffer[row * bitmap.pitch + column];
        if (coverage == 0) continue;
        const int x = left + static_cast<int>(column), y = top + static_cast<int>(row);
        ink.left = std::min(ink.left, double(x));
        ink.right = std::max(ink.right, double(x + 1));
        ink.top = std::min(ink.top, double(y));
        ink.bottom = std::max(ink.bottom, double(y + 1));
        if (!canvas) continue;
        if (x < 0 || y < 0 || x >= canvas->getWidth() || y >= canvas->getHeight()) return false;
        unsigned char *p = canvas->pixel(x, y);
        p[0] = p[1] = p[2] = 255;
        p[3] = static_cast<unsigned char>(std::min(255, p[3] + coverage));
      }
    }
    penX += f->glyph->advance.x / 64.0;
  }
  return ink.right > ink.left;
}

bool TextPainter::measure(const std::u32string &text, double pixelSize, Ink &ink) {
  return render(text, pixelSize, 0.0, 0.0, nullptr, ink);
}

bool TextPainter::fitText(RgbaCanvas &canvas, const std::u32string &text, int x, int y, int width, int height,
                          int margin) {
  const double innerWidth = width - 2 * margin, innerHeight = height - 2 * margin;
  // Ink grows almost linearly with size: bisect on the size that still fits.
  double low = 1.0, high = 4.0 * height;
  Ink ink;
  for (int step = 0; step < 40; ++step) {
    const double size = 0.5 * (low + high);
    if (!measure(text, size, ink)) return false;
    if (ink.right - ink.left <= innerWidth && ink.bottom - ink.top <= innerHeight)
      low = size;
    else
      high = size;
  }
  if (!measure(text, low, ink)) return false;
  // Whole-pixel origin offsets keep the measured ink exactly where placed.
  const double originX = std::floor(x + (width - (ink.right - ink.left)) * 0.5 - ink.left);
  const double baseline = std::floor(y + (height - (ink.bottom - ink.top)) * 0.5 - ink.top);
  Ink placed;
  return render(text, low, originX, baseline, &canvas, placed) && placed.left >= x + 1 && placed.top >= y + 1 &&
         placed.right <= x + width - 1 && placed.bottom <= y + height - 1;
}
