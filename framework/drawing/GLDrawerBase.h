#pragma once

#include "framework/drawing/Drawer.h"
#include "framework/drawing/TextLayout.h"

#include <boost/shared_ptr.hpp>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct GLEntryPoints;

// What the two OpenGL drawers share: textures and the images, atlases and
// glyphs registered on them, fonts, shader programs and their parameters, the
// frame buffer, the fitting of the drawing area into the window, the texture
// bindings, blend modes and the read-back. A drawer adds only its own way of
// putting pixels on the screen, through the hooks at the end.
// Main (OpenGL) thread only.
class GLDrawerBase : public Drawer, public TextLayout::MissingGlyphCallback {
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

  ~GLDrawerBase() override;

  void initialise(int windowWidth, int windowHeight, const AppSettings &settings) override;
  void resizeWindow(int windowWidth, int windowHeight) override;
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

  // How a texture keeps its pixels: always RGBA, or, for an image or atlas
  // that is all grey (the white disc, the soft line, the text atlas), grey
  // and alpha in half the memory, drawn the same. Textures that may later
  // take other pixels (font pages) stay RGBA.
  enum class Texels { Rgba, GreyWhereGrey };
  // Uploads RGBA pixels (padded up to powers of two when needed) into a new
  // texture and deletes them; false for null pixels or an empty size. Atlas
  // pages of every kind (images, font pages) become textures here.
  bool uploadTexture(unsigned char *pixels, int width, int height, unsigned int &texture, TwoFloats &extent,
                     Texels texels = Texels::Rgba);
  // An atlas's page as one texture, each member registered under its free
  // name; deletes the pixels.
  void loadAtlasTexture(unsigned char *pixels, int width, int height, const TextureAtlas &atlas, Texels texels);
  // Registers a record under a free name and lets the drawer build its
  // geometry; false (nothing registered) when the name is taken.
  bool registerImage(const std::wstring &name, const GLImage &record);
  // Compiles and links a program, reporting every failure with the driver's
  // log on standard error; 0 when no program can be created. built says
  // whether both shaders compiled and the program linked.
  unsigned int buildProgram(const std::wstring &vertexSource, const std::wstring &fragmentSource,
                            const std::wstring &name, bool &built);
  // Registers a program under a free name; false when the name is taken.
  bool registerProgram(const std::wstring &name, unsigned int program);

  // The record of a name; an unknown name becomes an empty image.
  const GLImage &lookUpImage(const std::wstring &name);
  // The image for a line: lineImage when it has a texture, else the built-in
  // soft line, loaded again if it was released.
  const GLImage &lookUpLineImage(const std::wstring &lineImage);
  // Every texture bind goes through here, so that the remembered bindings
  // stay true; binds only on change, and then leaves the unit selected.
  void bindTexture(int unit, unsigned int texture);
  // Binds a texture (0 for none) on unit 0 for the following draws.
  void bindBaseTexture(unsigned int texture);
  // Binds the image on unit 0 and, with a second image, that on unit 1;
  // returns the second image's record (blankImage without one).
  const GLImage &bindForImageDraw(const GLImage &image, bool repeat);
  void finishImageDraw(const GLImage &image, const GLImage &second, bool repeat);
  // Points a sampler uniform ("base" or "second") of the program in use at
  // a texture unit.
  void setSampler(int ShaderInternal::*location, int unit);
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
  virtual void imageRegistered(GLImage &) {}
  virtual void imageReleased(GLImage &) {}
  // A program is about to be linked.
  virtual void programLinking(unsigned int) {}
  // Unit 0 now holds a texture, or none: draws are textured or plain.
  virtual void texturingChanged(bool) {}

  TwoFloats drawingAreaSize;
  TwoFloats windowSize;
  TwoFloats viewportOffset;
  TwoFloats viewportSize;
  std::map<std::wstring, GLImage> images;
  std::map<std::wstring, ShaderInternal> shaders;
  std::map<std::wstring, FontInternal> fonts;
  TextLayout textLayout;
  // 0 while the drawer has no frame buffer.
  unsigned int frameBuffer = 0;
  std::wstring secondImage;
  // Whether the draw under way has the second image bound on unit 1.
  bool secondImageBound = false;
  // The textures bound on units 0 and 1; unknownTexture when the drawer
  // cannot know, which makes the next bind happen whatever it binds.
  static constexpr unsigned int unknownTexture = ~0u;
  unsigned int currentTexture = unknownTexture;
  unsigned int currentSecondTexture = unknownTexture;
  std::wstring currentShader;
  std::map<int, Drawer::CustomBlendMode *> customBlendModes;
  // Whether the blend mode is 0, source alpha over the screen.
  bool standardBlending = true;
  bool smoothTextures = true;
  GLImage blankImage;
  unsigned long linePngSize;
  std::unique_ptr<GLEntryPoints> gl;
  const std::wstring defaultShaderName;
  FontAtlas::Creator *fontCreator;

 private:
  void fitDrawingArea(int windowWidth, int windowHeight, const AppSettings &settings);
  void setupFrameBuffer();
  // Gives the frame buffer's colour and depth the drawing area's size, once.
  void sizeFrameBuffer();
  // False when the source does not compile, after reporting the driver's log.
  bool compileShader(unsigned int shader, const std::wstring &source, const char *stage, const std::wstring &name);
  // The quads of a connected line into lineVertices.
  void buildConnectedLine(const std::vector<TwoFloats> &points, const std::vector<float> &widths,
                          const std::vector<ThreeFloats> &colours, const std::vector<float> &alphas);
  // Decodes and registers the built-in soft line.
  void loadDefaultLine();
  void drawGlyphs(const TextLayout &layout, const TwoFloats &position, float scale, const ThreeFloats &colour,
                  float alpha);

  const wchar_t *const frameBufferImageName;
  const wchar_t *const defaultLineName;
  FrameBuffers frameBufferUse;
  unsigned int frameBufferTexture = 0;
  unsigned int frameBufferDepth = 0;
  bool frameBufferSized = false;
  // Reused from one connected line to the next.
  std::vector<QuadVertex> lineVertices;
};
