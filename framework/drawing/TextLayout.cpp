#include "framework/drawing/TextLayout.h"

#include "base/Assertion.h"

namespace {

// The current line: its glyphs and, for each, where in the text it came from.
struct Line {
  std::vector<TextLayout::GlyphPos> glyphs;
  std::vector<size_t> textIndices;
  float length = 0.0f;

  void append(const TextLayout::GlyphPos &glyph, size_t textIndex) {
    glyphs.push_back(glyph);
    textIndices.push_back(textIndex);
    length += glyph.width;
  }
  void removeFrom(size_t entry) {
    while (glyphs.size() > entry) {
      length -= glyphs.back().width;
      glyphs.pop_back();
      textIndices.pop_back();
    }
  }
};

}  // namespace

std::vector<TextLayout::GlyphPos> &TextLayout::getLayoutForText(
    const std::wstring &text, std::map<wchar_t, GlyphMetrics> &metrics, float lineWidth, float scale,
    Justification justification, const std::wstring &fontName, MissingGlyphCallback *callback) {
  MW_ASSERT(callback);
  glyphs.clear();
  Line line;
  float y = 0.0f;
  const auto endLine = [&](float lineHeight) {
    addLine(line.glyphs, lineWidth, line.length, justification);
    line = Line();
    y += scale * lineHeight;
  };
  size_t i = 0;
  while (i < text.size()) {
    // A tab is white space, as wide as a space and a place to break a line.
    const wchar_t character = text[i] == L'\t' ? L' ' : text[i];
    // A "\r\n" line end, or a lone "\r", is one line break.
    if (character == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    if (character == L'\n' || character == L'\r') {
      endLine(metrics.empty() ? 0.0f : metrics.begin()->second.lineHeight);
      ++i;
      continue;
    }
    auto it = metrics.find(character);
    if (it == metrics.end()) it = callback->loadMissingGlyph(character, metrics, fontName);
    // Text is input: a character no font can show is left out.
    if (it == metrics.end()) {
      ++i;
      continue;
    }
    const GlyphMetrics &g = it->second;
    // An empty line takes the glyph however wide it is, so that a glyph
    // wider than the whole line stands on a line of its own.
    if (line.glyphs.empty() || line.length + scale * g.advance <= lineWidth) {
      GlyphPos glyph;
      glyph.name = g.name;
      glyph.position = TwoFloats(line.length, y - scale * g.top);
      glyph.width = (g.advance - g.bearingX) * scale;
      glyph.character = character;
      line.append(glyph, i);
      ++i;
      continue;
    }
    // The line is full: break after the last space on it, else carry its
    // last glyph over with this one. A line of one glyph keeps it: taking
    // it off would bring the same line back for ever.
    size_t space = line.glyphs.size();
    while (space > 0 && line.glyphs[space - 1].character != L' ') --space;
    if (space > 0) {
      i = line.textIndices[space - 1] + 1;
      line.removeFrom(space - 1);
    } else if (line.glyphs.size() > 1) {
      i = line.textIndices.back();
      line.removeFrom(line.glyphs.size() - 1);
    }
    endLine(g.lineHeight);
  }
  if (!line.glyphs.empty()) addLine(line.glyphs, lineWidth, line.length, justification);
  return glyphs;
}

void TextLayout::addLine(std::vector<GlyphPos> &line, float lineWidth, float lineLength, Justification justification) {
  float offset = lineWidth - lineLength;
  if (justification == Centre)
    offset *= 0.5f;
  else if (justification != Right)
    offset = 0.0f;
  for (GlyphPos &glyph : line) {
    glyph.position.x += offset;
    glyphs.push_back(glyph);
  }
}
