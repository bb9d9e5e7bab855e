#pragma once

#include "drawing/GlyphMetrics.h"
#include "game/TwoFloats.h"

#include <map>
#include <string>
#include <vector>

// Positioned glyph images of a text, reusable over many frames: a caller that
// keeps one skips re-layout of unchanged text and clears it when the text changes.
class TextLayout {
 public:
  // How each line is placed within the line width; other values act as Left.
  enum Justification { Left = 0, Centre = 1, Right = 2 };

  struct GlyphPos {
    std::wstring name;
    // Top-left corner of the glyph image, relative to the left end of the
    // first line's baseline.
    TwoFloats position;
    // The pen advance this glyph took.
    float width = 0.0f;
    wchar_t character = 0;
  };

  // Adds characters a font has not rendered yet; implemented by the drawers.
  class MissingGlyphCallback {
   public:
    virtual ~MissingGlyphCallback() = default;
    // Adds the character to metrics and makes its image drawable; the new
    // entry, or metrics.end() when it cannot.
    virtual std::map<wchar_t, GlyphMetrics>::iterator loadMissingGlyph(wchar_t character,
                                                                       std::map<wchar_t, GlyphMetrics> &metrics,
                                                                       const std::wstring &fontName) = 0;
  };

  void clear() { glyphs.clear(); }
  bool isEmpty() const { return glyphs.empty(); }

  std::vector<GlyphPos> glyphs;
};
