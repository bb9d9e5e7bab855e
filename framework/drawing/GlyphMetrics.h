#pragma once

#include <string>

// Placement of one character of a font, in pixels.
struct GlyphMetrics {
  // The glyph's image name: the font's registry name followed by the character.
  std::wstring name;
  float width = 0.0f;
  float bearingX = 0.0f;
  float advance = 0.0f;
  // From the baseline up to the top of the rendered bitmap.
  float top = 0.0f;
  // The distance between lines.
  float lineHeight = 0.0f;
};
