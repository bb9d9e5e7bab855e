#pragma once

#include "drawing/Drawer.h"
#include "drawing/TextLayout.h"

#include <boost/shared_ptr.hpp>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct GLEntryPoints;

// The fixed-function OpenGL drawer: every primitive one immediate-mode quad,
// the fixed matrix stack for translation, scale and rotation, texture unit 1
// for the second image, a frame-buffer object for the frame-buffer image.
// Remembers the texture bound on each unit and binds only on change.
// Main (OpenGL) thread only.
class GLImmediateDrawer final : public Drawer, public TextLayout::MissingGlyphCallback {
 public:
  struct ImmediateImage {
    Drawer::Image image;
    unsigned int texture = 0;
  };

  struct ShaderInternal {
    unsigned int program = 0;
    // Locations of the sampler uniforms "base" and "second"; -1 when absent.
    int baseTextureLocation = -1;
    int secondTextureLocation = -1;
    std::map<std::wstring, long> params;
  };

  struct FontInternal {
    std::map<wchar_t, GlyphMetrics> metrics;
    boost::shared_ptr<FontAtlas> atlas;
    // The texture newly added glyphs go into.
    unsigned long currentTexture = 0;
    // Every texture the font owns, in creation order.
    std::vector<unsigned long> textures;
  };

  // The built-in soft line, an 8 x 8 white PNG whose columns fade out to
  // both sides; generated into the build from the image assets.
  static const unsigned char line_png[];
  static const unsigned long linePngBytes;

  // Never lets the drawer use frame buffers, even where the context has
  // them: for contexts whose frame buffers misbehave, and for checking the
  // fallback that draws the frame-buffer bracket into the window.
  enum class FrameBuffers { IfAvailable, Never };

  explicit GLImmediateDrawer(FrameBuffers frameBuffers = FrameBuffers::IfAvailable);
  ~GLImmediateDrawer() override;

  void initialise(int windowWidth, int windowHeight, const AppSettings &settings) override;
  void setFontRenderer(FontAtlas::Creator &creator) override;
  void loadSingleImage(unsigned char *pixels, int width, int height, const std::wstring &name) override;
  void loadTextureAtlas(unsigned char *pixels, int width, int height, const TextureAtlas &atlas) override;
  void releaseImage(const std::wstring &name) override;
  void loadShader(const std::wstring &vertexSource, const std::wstring &fragmentSource,
                  const std::wstring &name) override;
  void registerShaderParam(const std::wstring &paramName) override;
  void releaseShader(const std::wstring &name) override;
  void loadFont(const std::wstring &fontName, float size, const std::wstring &name) override;
  void releaseFont(const std::wstring &name) override;
  void beginDrawing() override;
  void endDrawing() override;
  void getScreenPixels(std::vector<unsigned char> &pixels) override;
  void useShader(const std::wstring &name) override;
  void setShaderParam(const std::wstring &paramName, float value) override;
  void useSecondImage(const std::wstring &name) override;
  void setBlendMode(int mode) override;
  void registerCustomBlendMode(int mode, Drawer::CustomBlendMode *blendMode) override;
  void drawImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &scale, const ThreeFloats &colour,
                 float alpha) override;
  void drawRotImage(const std::wstring &name, const TwoFloats &position, float angle, const TwoFloats &pivot,
                    const TwoFloats &scale, const ThreeFloats &colour, float alpha) override;
  void drawSubImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &subPosition,
                    const TwoFloats &subSize, const TwoFloats &scale, const ThreeFloats &colour, float alpha) override;
  void drawTiledImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &size,
                      const TwoFloats &tiles, const ThreeFloats &colour, float alpha) override;
  void drawText(const std::wstring &text, const std::wstring &fontName, const TwoFloats &position, float lineWidth,
                TextLayout::Justification justification, float scale, const ThreeFloats &colour, float alpha) override;
  void drawText(const std::wstring &text, const std::wstring &fontName, TextLayout &layout, const TwoFloats &position,
                float lineWidth, TextLayout::Justification justification, float scale, const ThreeFloats &colour,
                float alpha) override;
  void drawLine(const std::wstring &lineImage, const TwoFloats &start, const TwoFloats &end, const ThreeFloats &colour,
                float alpha) override;
  void drawConnectedLine(const std::wstring &lineImage, const std::vector<TwoFloats> &points,
                         const std::vector<float> &widths, const std::vector<ThreeFloats> &colours,
                         const std::vector<float> &alphas) override;
  void fillRect(const TwoFloats &position, const TwoFloats &size, const ThreeFloats &colour, float alpha) override;
  void fillGradient(const TwoFloats &position, const TwoFloats &size, const ThreeFloats &topColour,
                    const ThreeFloats &bottomColour, float topAlpha, float bottomAlpha) override;
  void translate(const TwoFloats &offset) override;
  void setViewport(const TwoFloats &position, const TwoFloats &size) override;
  void resetViewport() override;
  void startFrameBufferDrawing() override;
  void endFrameBufferDrawing() override;
  std::wstring getFrameBufferImage() const override;
  bool canSupport(Drawer::GraphicsCapabilities capability) const override;
  const TwoFloats &getDrawingAreaSize() const override { return drawingAreaSize; }
  const TwoFloats &getWindowSize() const override { return windowSize; }
  const void *getInternalImageData(const std::wstring &name) const override;

  std::map<wchar_t, GlyphMetrics>::iterator loadMissingGlyph(wchar_t character,
                                                             std::map<wchar_t, GlyphMetrics> &metrics,
                                                             const std::wstring &fontName) override;

 private:
  // Uploads RGBA pixels (padded up to powers of two when needed) into a new
  // texture and deletes them; false for null pixels or an empty size.
  bool uploadTexture(unsigned char *pixels, int width, int height, unsigned int &texture, TwoFloats &extent);
  void setupFrameBuffer();
  // False when the source does not compile, after reporting the driver's log
  // on standard error.
  bool compileShader(unsigned int shader, const std::wstring &source, const char *stage, const std::wstring &name);
  // Decodes and registers the built-in soft line under "lineDefault".
  void loadDefaultLine();
  // The record of a name; an unknown name becomes an empty image.
  const ImmediateImage &lookUpImage(const std::wstring &name);
  // The image for a line: lineImage when it has a texture, else "lineDefault",
  // loaded again if it was released.
  const ImmediateImage &lookUpLineImage(const std::wstring &lineImage);
  // Binds the image on unit 0 and, with a second image, that on unit 1;
  // returns the second image's record (blankImage without one).
  const ImmediateImage &bindForImageDraw(const ImmediateImage &image, bool repeat);
  void finishImageDraw(const ImmediateImage &image, const ImmediateImage &second, bool repeat);
  // Every texture bind goes through here, so that the remembered bindings
  // stay true; binds only on change, and then leaves the unit selected.
  void bindTexture(int unit, unsigned int texture);
  void setBaseTextureUniform();
  // corners: top left, top right, bottom right, bottom left.
  void drawImageQuad(const ImmediateImage &image, const TwoFloats corners[4], const TwoFloats &subPosition,
                     const TwoFloats &subSize, const ThreeFloats &colour, float alpha);
  void drawGlyphs(const TextLayout &layout, const TwoFloats &position, float scale, const ThreeFloats &colour,
                  float alpha);

  TwoFloats drawingAreaSize;
  TwoFloats windowSize;
  TwoFloats viewportOffset;
  TwoFloats viewportSize;
  std::map<std::wstring, ImmediateImage> images;
  std::map<std::wstring, ShaderInternal> shaders;
  std::map<std::wstring, FontInternal> fonts;
  TextLayout textLayout;
  FrameBuffers frameBufferUse;
  // 0 while the drawer has no frame buffer.
  unsigned int frameBuffer = 0;
  std::wstring secondImage;
  // The textures bound on units 0 and 1; unknownTexture when the drawer
  // cannot know, which makes the next bind happen whatever it binds.
  static constexpr unsigned int unknownTexture = ~0u;
  unsigned int currentTexture = unknownTexture;
  unsigned int currentSecondTexture = unknownTexture;
  std::wstring currentShader;
  std::map<int, Drawer::CustomBlendMode *> customBlendModes;
  bool smoothTextures = true;
  ImmediateImage blankImage;
  unsigned long linePngSize;
  std::unique_ptr<GLEntryPoints> gl;
};
