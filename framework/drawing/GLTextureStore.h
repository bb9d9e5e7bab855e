#pragma once

#include "framework/drawing/Drawer.h"
#include "framework/drawing/TextureAtlas.h"

#include <map>
#include <string>

struct GLEntryPoints;

// A drawer's textures and what is registered on them by name: single
// images, atlas members, glyphs, the frame buffer's image. A texture goes
// when the last name on it is released. Every bind goes through the
// listener, so that the drawer's remembered bindings stay true.
// Main (OpenGL) thread only.
class GLTextureStore final {
 public:
  // One registered image, atlas member or glyph.
  struct GLImage {
    Drawer::Image image;
    unsigned int texture = 0;
    // The vertex array and buffer holding the image's quad, for a drawer
    // that draws from them (imageRegistered); 0 for the others.
    unsigned int vertexArray = 0;
    unsigned int vertexBuffer = 0;
  };

  // What the store tells its drawer.
  class Listener {
   public:
    // Binds a texture on a unit (0 or 1).
    virtual void bindTexture(int unit, unsigned int texture) = 0;
    // The texture is deleted: its number may come back for a new one.
    virtual void textureDeleted(unsigned int texture) = 0;
    // A record has just been registered, or is about to be forgotten.
    virtual void imageRegistered(GLImage &) = 0;
    virtual void imageReleased(GLImage &) = 0;

   protected:
    ~Listener() = default;
  };

  // How a texture keeps its pixels: always RGBA, or, for an image or atlas
  // that is all grey (the white disc, the soft line, the text atlas), grey
  // and alpha in half the memory, drawn the same. Textures that may later
  // take other pixels (font pages) stay RGBA.
  enum class Texels { Rgba, GreyWhereGrey };

  GLTextureStore(const GLEntryPoints &gl, Listener &listener);

  GLTextureStore(const GLTextureStore &) = delete;
  GLTextureStore &operator=(const GLTextureStore &) = delete;

  // Uploads RGBA pixels (padded up to powers of two when needed) into a new
  // texture and deletes them; false for null pixels or an empty size.
  // extent: the share of the texture the pixels cover.
  bool upload(unsigned char *pixels, int width, int height, unsigned int &texture, TwoFloats &extent,
              Texels texels = Texels::Rgba);
  // Writes RGBA pixels into part of a texture.
  void replacePart(unsigned int texture, int x, int y, int width, int height, const unsigned char *pixels);
  // One image under a free name (grey where grey); deletes the pixels.
  void loadSingle(unsigned char *pixels, int width, int height, const std::wstring &name);
  // An atlas's page as one texture, each member registered under its free
  // name; deletes the pixels.
  void loadAtlas(unsigned char *pixels, int width, int height, const TextureAtlas &atlas, Texels texels);
  // Registers a record under a free name; false (nothing registered) when the name is taken.
  bool add(const std::wstring &name, const GLImage &record);
  // Forgets the name and deletes its texture with every other name on it.
  void release(const std::wstring &name);
  // The same for whatever names a texture holds.
  void releaseTexture(unsigned int texture);
  // Forgets a name's record and leaves its texture alone: for an empty record.
  void forget(const std::wstring &name) { images.erase(name); }

  // The record of a name, null when unknown.
  const GLImage *find(const std::wstring &name) const;
  // The record of a name; an unknown name becomes an empty image.
  const GLImage &lookUp(const std::wstring &name) { return images[name]; }
  // Binds through the listener.
  void bind(int unit, unsigned int texture) { listener.bindTexture(unit, texture); }

 private:
  const GLEntryPoints &gl;
  Listener &listener;
  std::map<std::wstring, GLImage> images;
};
