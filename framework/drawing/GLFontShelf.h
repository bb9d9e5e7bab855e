#pragma once

#include "framework/drawing/FontAtlas.h"
#include "framework/drawing/GlyphMetrics.h"

#include <boost/shared_ptr.hpp>
#include <map>
#include <string>
#include <vector>

class GLTextureStore;

// A drawer's fonts by name: each a FreeType atlas whose pages are textures
// of the texture store and whose glyphs are images there, named by the
// atlas. A glyph first met in a text is drawn into the font's page, or a
// new page when that is full.
// Main (OpenGL) thread only.
class GLFontShelf final {
 public:
  using Metrics = std::map<wchar_t, GlyphMetrics>;

  explicit GLFontShelf(GLTextureStore &textures);

  GLFontShelf(const GLFontShelf &) = delete;
  GLFontShelf &operator=(const GLFontShelf &) = delete;

  // A font file found by name (FontAtlas::findFontFile) at a size, under a
  // free name; nothing when the file or the size is unusable.
  void load(const std::wstring &fontName, float size, const std::wstring &name);
  // The font with every page it grew and every glyph on them.
  void release(const std::wstring &name);
  // A font's glyph metrics; null for an unknown font.
  Metrics *metrics(const std::wstring &name);
  // Draws a glyph into the font's page and registers it; metrics.end() when
  // the font cannot.
  Metrics::iterator loadMissingGlyph(wchar_t character, Metrics &metrics, const std::wstring &fontName);

 private:
  struct Font {
    Metrics metrics;
    boost::shared_ptr<FontAtlas> atlas;
    // The texture newly added glyphs go into.
    unsigned int currentTexture = 0;
    // Every texture the font owns, in creation order.
    std::vector<unsigned int> textures;
  };

  GLTextureStore &textures;
  std::map<std::wstring, Font> fonts;
};
