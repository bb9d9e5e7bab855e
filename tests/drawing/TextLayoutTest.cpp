#include "framework/drawing/TextLayout.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

typedef std::map<wchar_t, GlyphMetrics> Metrics;

GlyphMetrics glyph(wchar_t c, float advance, float lineHeight) {
  GlyphMetrics g;
  g.name = std::wstring(L"F") + c;
  g.width = advance - 1.0f;
  g.bearingX = 0.0f;
  g.advance = advance;
  g.top = 8.0f;
  g.lineHeight = lineHeight;
  return g;
}

// Every letter 10 units wide with 12 between lines; the first entry of the
// map (the line feed's line height) is the space, with 20.
Metrics font() {
  Metrics metrics;
  metrics[L' '] = glyph(L' ', 10.0f, 20.0f);
  for (const wchar_t c : std::wstring(L"abcdefgh")) metrics[c] = glyph(c, 10.0f, 12.0f);
  metrics[L'W'] = glyph(L'W', 50.0f, 12.0f);
  return metrics;
}

// Supplies "é" and nothing else.
class Supplier final : public TextLayout::MissingGlyphCallback {
 public:
  std::map<wchar_t, GlyphMetrics>::iterator loadMissingGlyph(wchar_t character, Metrics &metrics,
                                                             const std::wstring &fontName) override {
    asked += character;
    EXPECT_EQ(L"Body", fontName);
    if (character != L'\u00e9') return metrics.end();
    return metrics.insert(std::make_pair(character, glyph(character, 10.0f, 12.0f))).first;
  }
  std::wstring asked;
};

struct Laid {
  std::vector<std::wstring> lines;
  std::vector<float> baselines;
  // The characters the font was asked for.
  std::wstring asked;
};

// The characters of each line, and each line's baseline.
Laid layOut(const std::wstring &text, float lineWidth, Metrics metrics = font(),
            TextLayout::Justification justification = TextLayout::Left) {
  Supplier supplier;
  TextLayout layout;
  Laid laid;
  for (const TextLayout::GlyphPos &g :
       layout.getLayoutForText(text, metrics, lineWidth, 1.0f, justification, L"Body", &supplier)) {
    const float baseline = g.position.y + 8.0f;
    if (laid.baselines.empty() || baseline != laid.baselines.back()) {
      laid.lines.push_back(std::wstring());
      laid.baselines.push_back(baseline);
    }
    laid.lines.back() += g.character;
  }
  laid.asked = supplier.asked;
  return laid;
}

TEST(TextLayout, WrapsCutsAndMovesDownLineByLine) {
  struct Case {
    const char *name;
    std::wstring text;
    float lineWidth;
    std::vector<std::wstring> lines;
  };
  const Case cases[] = {
      {"empty", L"", 100.0f, {}},
      {"one line", L"ab cd", 100.0f, {L"ab cd"}},
      {"at the last space", L"ab cd ef", 75.0f, {L"ab cd", L"ef"}},
      {"a word longer than a line", L"abcdef", 35.0f, {L"ab", L"cd", L"ef"}},
      // Mends: lines narrower than two glyphs, and a glyph wider than the line.
      {"one glyph a line", L"abc", 15.0f, {L"a", L"b", L"c"}},
      {"narrower than any glyph", L"ab", 5.0f, {L"a", L"b"}},
      {"a glyph wider than the line", L"aWb", 30.0f, {L"a", L"W", L"b"}},
  };
  for (const Case &c : cases) {
    const Laid laid = layOut(c.text, c.lineWidth);
    EXPECT_EQ(c.lines, laid.lines) << c.name;
    // A wrap moves down by the line height of the glyph that did not fit.
    for (size_t i = 0; i < laid.baselines.size(); ++i) EXPECT_EQ(12.0f * i, laid.baselines[i]) << c.name;
  }

  // A line feed moves down by the first map entry's line height.
  const Laid fed = layOut(L"ab\ncd", 100.0f);
  EXPECT_EQ(std::vector<std::wstring>({L"ab", L"cd"}), fed.lines);
  EXPECT_EQ(20.0f, fed.baselines[1]);
}

// Neither is a glyph to ask the font for: a font would answer with its box.
TEST(TextLayout, CarriageReturnsEndLinesAndTabsAreSpaces) {
  struct Case {
    const char *name;
    std::wstring text;
    float lineWidth;
    std::vector<std::wstring> lines;
    std::vector<float> baselines;
  };
  const Case cases[] = {
      {"CR LF", L"ab\r\ncd", 100.0f, {L"ab", L"cd"}, {0.0f, 20.0f}},
      {"CR", L"ab\rcd", 100.0f, {L"ab", L"cd"}, {0.0f, 20.0f}},
      {"blank line", L"ab\r\n\r\ncd", 100.0f, {L"ab", L"cd"}, {0.0f, 40.0f}},
      {"tab", L"ab\tcd", 100.0f, {L"ab cd"}, {0.0f}},
      {"wrap at a tab", L"ab cd\tef", 75.0f, {L"ab cd", L"ef"}, {0.0f, 12.0f}},
  };
  for (const Case &c : cases) {
    const Laid laid = layOut(c.text, c.lineWidth);
    EXPECT_EQ(c.lines, laid.lines) << c.name;
    EXPECT_EQ(c.baselines, laid.baselines) << c.name;
    EXPECT_EQ(L"", laid.asked) << c.name;
  }
}

// Five glyphs of 10 at scale 3 take 150 of a 200-unit line; their tops
// scale with them, so that they stand on the baseline.
TEST(TextLayout, PlacesEachLineAsJustifiedAndScalesAdvances) {
  Metrics metrics = font();
  Supplier supplier;
  TextLayout layout;
  const float offsets[] = {0.0f, 25.0f, 50.0f, 0.0f};
  for (int j = 0; j < 4; ++j) {
    const auto justification = static_cast<TextLayout::Justification>(j);
    const std::vector<TextLayout::GlyphPos> &glyphs =
        layout.getLayoutForText(L"abcde", metrics, 200.0f, 3.0f, justification, L"Body", &supplier);
    ASSERT_EQ(5u, glyphs.size());
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(offsets[j] + 30.0f * i, glyphs[i].position.x) << "justification " << j;
      EXPECT_EQ(-24.0f, glyphs[i].position.y);
      EXPECT_EQ(L'a' + i, glyphs[i].character);
    }
  }
}

TEST(TextLayout, AsksForMissingGlyphsOnceAndLeavesOutWhatNoneCanSupply) {
  Metrics metrics = font();
  Supplier supplier;
  TextLayout layout;
  for (int round = 0; round < 2; ++round) {
    const std::vector<TextLayout::GlyphPos> &glyphs =
        layout.getLayoutForText(L"a\u00e9\u2603b", metrics, 100.0f, 1.0f, TextLayout::Left, L"Body", &supplier);
    ASSERT_EQ(3u, glyphs.size());
    EXPECT_EQ(L"F\u00e9", glyphs[1].name);
    EXPECT_EQ(L'b', glyphs[2].character);
    EXPECT_EQ(20.0f, glyphs[2].position.x);
  }
  // The accented letter was added on first use; the snowman is asked each time.
  EXPECT_EQ(L"\u00e9\u2603\u2603", supplier.asked);
}

}  // namespace
