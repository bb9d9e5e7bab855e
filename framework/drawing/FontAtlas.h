#pragma once

#include "base/FilePath.h"
#include "framework/drawing/GlyphMetrics.h"
#include "framework/drawing/TextureAtlas.h"

#include <boost/shared_ptr.hpp>
#include <map>
#include <string>

// The glyphs of one font at one pixel size, as images in a square RGBA atlas.
// The atlas owns its first page of pixels until a drawer takes them with
// takeImageData(). Main thread only.
class FontAtlas : public TextureAtlas {
 public:
  // Builds the atlases of the fonts a drawer loads.
  class Creator {
   public:
    virtual ~Creator() = default;
    // An atlas whose page side would exceed maxDimension pixels (the
    // largest texture the drawer can make) is left empty.
    virtual boost::shared_ptr<FontAtlas> createInstance(const FilePath &fontFile, float size,
                                                        std::map<wchar_t, GlyphMetrics> &metrics,
                                                        const std::wstring &fontName, int maxDimension) = 0;
  };

  // Renders one more character into the atlas; a character the font lacks
  // fails. On success image points at its new member (valid until the next
  // glyph is added), pixels at a new[] buffer of width x height RGBA pixels
  // that the caller uploads and deletes, and newTexture says whether the
  // buffer is a new page rather than the glyph alone. On failure image and
  // pixels are null and the sizes 0.
  virtual void getMissingGlyphData(wchar_t character, std::map<wchar_t, GlyphMetrics> &metrics, AtlasImage **image,
                                   unsigned char **pixels, int &width, int &height, bool &newTexture) = 0;
  // The side of the square atlas image in pixels.
  virtual int getAtlasDimensions() const = 0;

  // "<fontName>.ttf" in the user's and the system's font folders, each with
  // its subfolders, then in the "fonts" folder of the data-files folder; an
  // empty path when there is none.
  static FilePath findFontFile(const std::wstring &fontName);
};
