#pragma once

#include "framework/drawing/FontAtlas.h"
#include "framework/drawing/TextLayout.h"
#include "framework/drawing/TextureAtlas.h"
#include "base/ThreeFloats.h"
#include "base/TwoFloats.h"

#include <string>
#include <vector>

class AppSettings;

// The drawing service every state draws through. Positions and sizes are in
// drawing-area units: origin top left, y down, a 1280-unit-wide logical area.
// Images, fonts and shaders are registered under names and drawn by name; a
// second load under a taken name keeps the first. Names never registered are
// tolerated: image draws show nothing (tiled draws show the plain colour),
// lines fall back to the built-in soft line, text with an unknown font draws
// nothing, releases ignore them.
// Called only on the thread that owns the OpenGL context.
class Drawer {
 public:
  // Where one named image lies in its texture.
  struct Image {
    // Natural size in pixels.
    TwoFloats size;
    // Texture coordinates of the top-left corner, and the extent.
    TwoFloats texCoordOrigin;
    TwoFloats texCoordSize;
  };

  // A blend mode beyond the fixed ones; apply() sets the OpenGL blend state.
  // Registered by raw pointer and owned by the registering code.
  class CustomBlendMode {
   public:
    virtual ~CustomBlendMode() = default;
    virtual void apply() = 0;
  };

  enum GraphicsCapabilities {
    ShaderPrograms = 0,
    FrameBufferDrawing = 1,
    // Two texture units, for useSecondImage.
    MultiTexturing = 2,
  };

  virtual ~Drawer() = default;

  // Once, with the OpenGL context of a window of that pixel size current.
  virtual void initialise(int windowWidth, int windowHeight, const AppSettings &settings) = 0;
  // The window now has this pixel size (the same OpenGL context, its
  // textures kept). The drawing area keeps its size, shown as large as its
  // shape allows in the middle of the window.
  virtual void resizeWindow(int windowWidth, int windowHeight) = 0;
  // The window now has this pixel size and the game lays itself out for its
  // shape (the same OpenGL context, its textures kept): the drawing area is
  // fitted again from the settings given to initialise, as initialise would
  // have fitted it in a window of this size, and shown as resizeWindow shows
  // it. Between frames.
  virtual void refitWindow(int windowWidth, int windowHeight) = 0;
  virtual void setFontRenderer(FontAtlas::Creator &creator) = 0;

  // Take ownership of pixels (8-bit RGBA, new[]); a null buffer does nothing.
  virtual void loadSingleImage(unsigned char *pixels, int width, int height, const std::wstring &name) = 0;
  virtual void loadTextureAtlas(unsigned char *pixels, int width, int height, const TextureAtlas &atlas) = 0;
  // Removes the name and every name sharing its texture (a whole atlas).
  virtual void releaseImage(const std::wstring &name) = 0;

  virtual void loadShader(const std::wstring &vertexSource, const std::wstring &fragmentSource,
                          const std::wstring &name) = 0;
  virtual void registerShaderParam(const std::wstring &paramName) = 0;
  virtual void releaseShader(const std::wstring &name) = 0;

  virtual void loadFont(const std::wstring &fontName, float size, const std::wstring &name) = 0;
  virtual void releaseFont(const std::wstring &name) = 0;

  // Clears the frame and resets the translation.
  virtual void beginDrawing() = 0;
  // Drops the second image and forgets the texture bound on unit 0.
  virtual void endDrawing() = 0;
  // Window width x height x 3 bytes of RGB, rows bottom-up.
  virtual void getScreenPixels(std::vector<unsigned char> &pixels) = 0;

  // The empty name returns to the default; any other must have been loaded.
  virtual void useShader(const std::wstring &name) = 0;
  virtual void setShaderParam(const std::wstring &paramName, float value) = 0;
  // For every following image draw until endDrawing or the empty name.
  virtual void useSecondImage(const std::wstring &name) = 0;
  // 0 alpha blending, 1 additive, others a registered custom mode.
  virtual void setBlendMode(int mode) = 0;
  // A number already registered keeps its first object.
  virtual void registerCustomBlendMode(int mode, Drawer::CustomBlendMode *blendMode) = 0;

  virtual void drawImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &scale,
                         const ThreeFloats &colour, float alpha) = 0;
  // Turned by angle about pivot (in the image's own unscaled pixels); a
  // positive angle turns clockwise on the screen.
  virtual void drawRotImage(const std::wstring &name, const TwoFloats &position, float angle, const TwoFloats &pivot,
                            const TwoFloats &scale, const ThreeFloats &colour, float alpha) = 0;
  // subPosition and subSize are fractions of the image.
  virtual void drawSubImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &subPosition,
                            const TwoFloats &subSize, const TwoFloats &scale, const ThreeFloats &colour,
                            float alpha) = 0;
  virtual void drawTiledImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &size,
                              const TwoFloats &tiles, const ThreeFloats &colour, float alpha) = 0;
  virtual void drawText(const std::wstring &text, const std::wstring &fontName, const TwoFloats &position,
                        float lineWidth, TextLayout::Justification justification, float scale,
                        const ThreeFloats &colour, float alpha) = 0;
  // An empty layout is filled on the call and reused unchanged afterwards.
  virtual void drawText(const std::wstring &text, const std::wstring &fontName, TextLayout &layout,
                        const TwoFloats &position, float lineWidth, TextLayout::Justification justification,
                        float scale, const ThreeFloats &colour, float alpha) = 0;
  // 8 units wide.
  virtual void drawLine(const std::wstring &lineImage, const TwoFloats &start, const TwoFloats &end,
                        const ThreeFloats &colour, float alpha) = 0;
  // Per-point half-widths, colours and alphas; the first and last points only
  // orient the ends.
  virtual void drawConnectedLine(const std::wstring &lineImage, const std::vector<TwoFloats> &points,
                                 const std::vector<float> &widths, const std::vector<ThreeFloats> &colours,
                                 const std::vector<float> &alphas) = 0;
  virtual void fillRect(const TwoFloats &position, const TwoFloats &size, const ThreeFloats &colour, float alpha) = 0;
  virtual void fillGradient(const TwoFloats &position, const TwoFloats &size, const ThreeFloats &topColour,
                            const ThreeFloats &bottomColour, float topAlpha, float bottomAlpha) = 0;
  // Accumulates until the next beginDrawing.
  virtual void translate(const TwoFloats &offset) = 0;
  // Restricts drawing to the rectangle and makes it a canvas of size units.
  virtual void setViewport(const TwoFloats &position, const TwoFloats &size) = 0;
  virtual void resetViewport() = 0;
  // Bracket draws aimed at the frame-buffer image, within a frame. Without
  // frame buffers (canSupport(FrameBufferDrawing) false) the draws go to the
  // window, the whole drawing area, the right way up.
  virtual void startFrameBufferDrawing() = 0;
  virtual void endFrameBufferDrawing() = 0;
  virtual std::wstring getFrameBufferImage() const = 0;
  virtual bool canSupport(Drawer::GraphicsCapabilities capability) const = 0;
  virtual const TwoFloats &getDrawingAreaSize() const = 0;
  virtual const TwoFloats &getWindowSize() const = 0;
  // The implementation's own record of the image; null when not registered.
  virtual const void *getInternalImageData(const std::wstring &name) const = 0;
};
