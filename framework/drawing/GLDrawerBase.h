#pragma once

#include "framework/drawing/Drawer.h"
#include "framework/drawing/GLFontShelf.h"
#include "framework/drawing/GLFrameBufferTarget.h"
#include "framework/drawing/GLProgramStore.h"
#include "framework/drawing/GLTextureStore.h"
#include "framework/drawing/TextLayout.h"

#include <boost/shared_ptr.hpp>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct GLEntryPoints;

// What the two OpenGL drawers share: the fitting of the drawing area into
// the window, the texture bindings, blend modes, quad drawing and the
// read-back, over its parts: a texture store (images, atlases, glyphs), a
// program store, a font shelf and a frame-buffer target. A drawer adds only
// its own way of putting pixels on the screen, through the hooks at the end.
// Main (OpenGL) thread only.
class GLDrawerBase : public Drawer,
                     public TextLayout::MissingGlyphCallback,
                     private GLTextureStore::Listener {
 public:
  using GLImage = GLTextureStore::GLImage;

  // The built-in soft line, an 8 x 8 white PNG whose columns fade out to
  // both sides; generated into the build from the image assets.
  static const unsigned char line_png[];
  static const unsigned long linePngBytes;

  // Never lets the drawer use frame buffers, even where the context has
  // them: for contexts whose frame buffers misbehave, and for checking the
  // fallback that draws the frame-buffer bracket into the window.
  enum class FrameBuffers { IfAvailable, Never };

  ~GLDrawerBase() override;

  void initialise(int windowWidth, int windowHeight, const AppSettings &settings) override;
  void resizeWindow(int windowWidth, int windowHeight) override;
  // Not followed by the frame buffer: its image keeps the size it was made
  // at, its storage the area it was first drawn into at.
  void refitWindow(int windowWidth, int windowHeight) override;
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
  void setShaderParam(const std::wstring &paramName, float value) override;
  void useSecondImage(const std::wstring &name) override;
  void setBlendMode(int mode) override;
  void registerCustomBlendMode(int mode, Drawer::CustomBlendMode *blendMode) override;
  void drawSubImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &subPosition,
                    const TwoFloats &subSize, const TwoFloats &scale, const ThreeFloats &colour, float alpha) override;
  void drawTiledImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &size,
                      const TwoFloats &tiles, const ThreeFloats &colour, float alpha) override;
  void drawConnectedLine(const std::wstring &lineImage, const std::vector<TwoFloats> &points,
                         const std::vector<float> &widths, const std::vector<ThreeFloats> &colours,
                         const std::vector<float> &alphas) override;
  void fillGradient(const TwoFloats &position, const TwoFloats &size, const ThreeFloats &topColour,
                    const ThreeFloats &bottomColour, float topAlpha, float bottomAlpha) override;
  void drawText(const std::wstring &text, const std::wstring &fontName, const TwoFloats &position, float lineWidth,
                TextLayout::Justification justification, float scale, const ThreeFloats &colour, float alpha) override;
  void drawText(const std::wstring &text, const std::wstring &fontName, TextLayout &layout, const TwoFloats &position,
                float lineWidth, TextLayout::Justification justification, float scale, const ThreeFloats &colour,
                float alpha) override;
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

 protected:
  // The names a drawer registers its own things under.
  struct BuiltInNames {
    // The program used when no other is chosen; empty for none.
    const wchar_t *defaultShader;
    const wchar_t *frameBufferImage;
    const wchar_t *defaultLine;
  };

  GLDrawerBase(const BuiltInNames &names, FrameBuffers frameBuffers);

  // One corner of a quad as the drawers emit it, laid out for a vertex buffer.
  struct QuadVertex {
    TwoFloats position;
    TwoFloats texCoord;
    TwoFloats secondTexCoord;
    ThreeFloats colour;
    float alpha;
  };

  // For the lifetime of one plain-colour draw: an opaque colour in the
  // standard blend mode replaces what is below it, so blending is switched
  // off around it. The pixels are the same; llvmpipe then neither reads the
  // screen below nor draws what the fill covers.
  class OpaqueFill {
   public:
    OpaqueFill(const GLDrawerBase &drawer, float alpha);
    ~OpaqueFill();
    OpaqueFill(const OpaqueFill &) = delete;
    OpaqueFill &operator=(const OpaqueFill &) = delete;

   private:
    const bool unblended;
  };

  // The corners of a rectangle in the order quads take them: top left, top
  // right, bottom right, bottom left.
  static void rectangleCorners(const TwoFloats &position, const TwoFloats &size, TwoFloats corners[4]);
  // A quad over the corners showing the texture rectangles origin/extent of
  // both units, the first corner at the origin, the second at origin + (extent.x, 0).
  static void setQuad(QuadVertex quad[4], const TwoFloats corners[4], const TwoFloats &origin, const TwoFloats &extent,
                      const TwoFloats &secondOrigin, const TwoFloats &secondExtent, const ThreeFloats &colour,
                      float alpha);
  // Draws the part subPosition/subSize (fractions) of an image, and of the
  // second image, into the corners.
  void drawImageCorners(const GLImage &image, const TwoFloats corners[4], const TwoFloats &subPosition,
                        const TwoFloats &subSize, const ThreeFloats &colour, float alpha);

  // The record of a name; an unknown name becomes an empty image.
  const GLImage &lookUpImage(const std::wstring &name);
  // The image for a line: lineImage when it has a texture, else the built-in
  // soft line, loaded again if it was released.
  const GLImage &lookUpLineImage(const std::wstring &lineImage);
  // Every texture bind goes through here, so that the remembered bindings
  // stay true; binds only on change, and then leaves the unit selected.
  void bindTexture(int unit, unsigned int texture) override;
  // Binds a texture (0 for none) on unit 0 for the following draws.
  void bindBaseTexture(unsigned int texture);
  // Binds the image on unit 0 and, with a second image, that on unit 1;
  // returns the second image's record (blankImage without one).
  const GLImage &bindForImageDraw(const GLImage &image, bool repeat);
  void finishImageDraw(const GLImage &image, const GLImage &second, bool repeat);
  // Points a sampler uniform ("base" or "second") of the program in use at
  // a texture unit.
  void setSampler(int GLProgramStore::Program::*location, int unit);
  // Makes the next bind on each unit happen whatever it binds: others may
  // bind between frames (the window's own scaling pass).
  virtual void forgetBindings();

  // The hooks each drawer fills in.
  // Draws count / 4 quads of four corners each, going round the quad, with
  // the textures bound; vertexColours says whether the corners' colours
  // differ (otherwise the first corner's colour serves for all).
  virtual void drawQuads(const QuadVertex *vertices, size_t count, bool vertexColours) = 0;
  // After the drawing area is fitted and before the frame buffer is made.
  virtual void prepareDrawing() {}
  // Projects a canvas of size units onto the current viewport, origin top
  // left and y down, or y up for drawing into the frame buffer.
  virtual void setProjection(const TwoFloats &size, bool yUp) = 0;
  // The model-view transform becomes the identity.
  virtual void resetTransform() = 0;
  // A record has just been registered, or is about to be forgotten.
  void imageRegistered(GLImage &) override {}
  void imageReleased(GLImage &) override {}
  // A program is about to be linked.
  virtual void programLinking(unsigned int) {}
  // Unit 0 now holds a texture, or none: draws are textured or plain.
  virtual void texturingChanged(bool) {}

  std::unique_ptr<GLEntryPoints> gl;
  const std::wstring defaultShaderName;
  GLProgramStore programs;
  // Whether the draw under way has the second image bound on unit 1.
  bool secondImageBound = false;
  // The texture bound on unit 0; unknownTexture when the drawer cannot
  // know, which makes the next bind happen whatever it binds.
  static constexpr unsigned int unknownTexture = ~0u;
  unsigned int currentTexture = unknownTexture;

 private:
  void textureDeleted(unsigned int texture) override;
  // The area the settings ask for, in the window's shape under scaling mode 1.
  void fitDrawingArea(int windowWidth, int windowHeight);
  // The quads of a connected line into lineVertices.
  void buildConnectedLine(const std::vector<TwoFloats> &points, const std::vector<float> &widths,
                          const std::vector<ThreeFloats> &colours, const std::vector<float> &alphas);
  // Decodes and registers the built-in soft line.
  void loadDefaultLine();
  void drawGlyphs(const TextLayout &layout, const TwoFloats &position, float scale, const ThreeFloats &colour,
                  float alpha);

  TwoFloats drawingAreaSize;
  // The settings' area and scaling mode, kept from initialise for refitting.
  TwoFloats settingsArea;
  int scalingMode = 0;
  TwoFloats windowSize;
  TwoFloats viewportOffset;
  TwoFloats viewportSize;
  GLTextureStore textures;
  GLFontShelf fonts;
  GLFrameBufferTarget frameBuffer;
  TextLayout textLayout;
  std::wstring secondImage;
  unsigned int currentSecondTexture = unknownTexture;
  std::map<int, Drawer::CustomBlendMode *> customBlendModes;
  // Whether the blend mode is 0, source alpha over the screen.
  bool standardBlending = true;
  GLImage blankImage;
  unsigned long linePngSize;
  const wchar_t *const frameBufferImageName;
  const wchar_t *const defaultLineName;
  FrameBuffers frameBufferUse;
  // Reused from one connected line to the next.
  std::vector<QuadVertex> lineVertices;
};
