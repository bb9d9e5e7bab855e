// Arbitrary wide text laid out with a real font: the first bytes choose the
// line width, the scale and the justification, the rest are the characters
// (four bytes each, any value). Missing characters are rendered into the font
// atlas as a drawer would, which fuzzes the atlas too.
#include "FuzzScratch.h"

#include "framework/drawing/FreetypeFontAtlas.h"
#include "framework/drawing/TextLayout.h"

#include <cmath>
#include <cstring>
#include <memory>

namespace {

typedef std::map<wchar_t, GlyphMetrics> Metrics;

// The atlas grows with every new character; a fresh one after this many.
constexpr size_t maxGlyphs = 3000;

class AtlasSupplier final : public TextLayout::MissingGlyphCallback {
 public:
  Metrics::iterator loadMissingGlyph(wchar_t character, Metrics &metrics, const std::wstring &) override {
    AtlasImage *image = nullptr;
    unsigned char *buffer = nullptr;
    int width = 0, height = 0;
    bool newPage = false;
    atlas->getMissingGlyphData(character, metrics, &image, &buffer, width, height, newPage);
    const std::unique_ptr<unsigned char[]> pixels(buffer);
    if (!image) {
      if (pixels || width != 0 || height != 0) fuzzFailure("failed glyph with pixels");
      return metrics.end();
    }
    if (pixels && width > 0 && height > 0) touched += pixels[static_cast<size_t>(width) * height * 4 - 1];
    return metrics.find(character);
  }

  void reset() {
    metrics.clear();
    atlas.reset(new FreetypeFontAtlas(font, 24.0f, metrics, L"Body"));
    if (metrics.empty()) fuzzFailure("the font renders nothing");
  }

  FilePath font = FontAtlas::findFontFile(L"DejaVuSans");
  std::unique_ptr<FreetypeFontAtlas> atlas;
  Metrics metrics;
  unsigned touched = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static AtlasSupplier supplier;
  if (!supplier.atlas || supplier.metrics.size() > maxGlyphs) supplier.reset();
  if (size < 3) return 0;
  // 0 to 2040 units wide, scale 0 to 4, justification 0 to 3 (3 acts as left).
  const float lineWidth = data[0] * 8.0f;
  const float scale = (data[1] & 0x3f) / 16.0f;
  const TextLayout::Justification justification = static_cast<TextLayout::Justification>(data[2] & 3);
  std::wstring text((size - 3) / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(&text[0], data + 3, text.size() * sizeof(wchar_t));

  TextLayout layout;
  const std::vector<TextLayout::GlyphPos> &glyphs =
      layout.getLayoutForText(text, supplier.metrics, lineWidth, scale, justification, L"Body", &supplier);
  if (glyphs.size() > text.size()) fuzzFailure("more glyphs than characters");
  for (const TextLayout::GlyphPos &glyph : glyphs) {
    if (!std::isfinite(glyph.position.x) || !std::isfinite(glyph.position.y) || !std::isfinite(glyph.width))
      fuzzFailure("glyph placed at no number");
    if (supplier.metrics.find(glyph.character) == supplier.metrics.end()) fuzzFailure("glyph without metrics");
  }
  return 0;
}
