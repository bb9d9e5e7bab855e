#include "framework/drawing/GLFontShelf.h"

#include "base/Assertion.h"
#include "framework/drawing/FreetypeFontAtlas.h"
#include "framework/drawing/GLEntryPoints.h"
#include "framework/drawing/GLTextureStore.h"

#include <cmath>
#include <memory>

GLFontShelf::GLFontShelf(GLTextureStore &textures) : textures(textures) {}

void GLFontShelf::load(const std::wstring &fontName, float size, const std::wstring &name) {
  // A taken name keeps its first font.
  if (fonts.find(name) != fonts.end()) return;
  const FilePath path = FontAtlas::findFontFile(fontName);
  if (!path.isFile()) return;
  Font font;
  // A size whose page no texture can hold is refused before the page is drawn.
  GLint maxTextureSide = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSide);
  font.atlas = FreetypeFontAtlas::creator.createInstance(path, size, font.metrics, name, maxTextureSide);
  if (!font.atlas || font.metrics.empty() || font.atlas->numImages == 0) return;
  const int d = font.atlas->getAtlasDimensions();
  // Later glyphs are written into the page as RGBA.
  textures.loadAtlas(font.atlas->takeImageData().release(), d, d, *font.atlas, GLTextureStore::Texels::Rgba);
  const GLTextureStore::GLImage *first = textures.find(font.atlas->images[0].name);
  if (!first || first->texture == 0) return;
  font.currentTexture = first->texture;
  font.textures.push_back(font.currentTexture);
  fonts.insert(std::make_pair(name, font));
}

void GLFontShelf::release(const std::wstring &name) {
  auto it = fonts.find(name);
  if (it == fonts.end()) return;
  const Font &font = it->second;
  MW_ASSERT(font.metrics.size() > 0);
  for (const unsigned int texture : font.textures) textures.releaseTexture(texture);
  fonts.erase(it);
}

GLFontShelf::Metrics *GLFontShelf::metrics(const std::wstring &name) {
  auto it = fonts.find(name);
  return it == fonts.end() ? nullptr : &it->second.metrics;
}

GLFontShelf::Metrics::iterator GLFontShelf::loadMissingGlyph(wchar_t character, Metrics &metrics,
                                                             const std::wstring &fontName) {
  auto it = fonts.find(fontName);
  if (it == fonts.end()) return metrics.end();
  Font &font = it->second;
  AtlasImage *member = nullptr;
  unsigned char *buffer = nullptr;
  int width = 0, height = 0;
  bool newPage = false;
  font.atlas->getMissingGlyphData(character, metrics, &member, &buffer, width, height, newPage);
  std::unique_ptr<unsigned char[]> pixels(buffer);
  if (!member) return metrics.end();
  const int d = font.atlas->getAtlasDimensions();
  GLTextureStore::GLImage record;
  record.image.texCoordOrigin = member->position;
  record.image.texCoordSize = member->size;
  if (newPage) {
    unsigned int texture = 0;
    TwoFloats extent;
    if (!textures.upload(pixels.release(), width, height, texture, extent)) return metrics.find(character);
    font.currentTexture = texture;
    font.textures.push_back(texture);
    record.image.size = TwoFloats(d * member->size.x, d * member->size.y);
  } else {
    textures.replacePart(font.currentTexture, static_cast<int>(std::lround(d * member->position.x)),
                         static_cast<int>(std::lround(d * member->position.y)), width, height, pixels.get());
    record.image.size = TwoFloats(static_cast<float>(width), static_cast<float>(height));
  }
  record.texture = font.currentTexture;
  textures.add(member->name, record);
  return metrics.find(character);
}
