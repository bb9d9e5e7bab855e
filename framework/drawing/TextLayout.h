#pragma once

#include "framework/drawing/GlyphMetrics.h"
#include "base/TwoFloats.h"

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

  // Lays the text out in lines of at most lineWidth units, glyph advances,
  // tops and line distances times scale, breaking at the last space that
  // fits (a word longer than a line is cut), and refills glyphs. Characters
  // missing from metrics are asked of callback (not null); one that neither
  // can supply is left out. A tab counts as a space. A line feed moves down
  // by the line height of the first entry of metrics, a wrap by that of the
  // glyph that did not fit; "\r\n" and a lone "\r" are line feeds too.
  std::vector<GlyphPos> &getLayoutForText(const std::wstring &text, std::map<wchar_t, GlyphMetrics> &metrics,
                                          float lineWidth, float scale, Justification justification,
                                          const std::wstring &fontName, MissingGlyphCallback *callback);
  // Moves one finished line into glyphs, placed within lineWidth.
  void addLine(std::vector<GlyphPos> &line, float lineWidth, float lineLength, Justification justification);
  void clear() { glyphs.clear(); }
  bool isEmpty() const { return glyphs.empty(); }

  std::vector<GlyphPos> glyphs;
};
