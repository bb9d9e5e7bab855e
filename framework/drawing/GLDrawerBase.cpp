#include "framework/drawing/GLDrawerBase.h"

#include "framework/app/AppSettings.h"
#include "base/Assertion.h"
#include "base/UTF8File.h"
#include "framework/drawing/FreetypeFontAtlas.h"
#include "framework/drawing/GLEntryPoints.h"
#include "framework/drawing/ImageLoader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>


GLDrawerBase::GLDrawerBase(const BuiltInNames &names, FrameBuffers frameBuffers)
    : gl(new GLEntryPoints),
      defaultShaderName(names.defaultShader),
      programs(*gl, defaultShaderName, [this](unsigned int program) { programLinking(program); }),
      drawingAreaSize(1280.0f, 720.0f),
      settingsArea(drawingAreaSize),
      windowSize(1280.0f, 720.0f),
      textures(*gl, *this),
      fonts(textures),
      frameBuffer(*gl, textures),
      linePngSize(linePngBytes),
      frameBufferImageName(names.frameBufferImage),
      defaultLineName(names.defaultLine),
      frameBufferUse(frameBuffers) {
  blankImage.image.texCoordSize = TwoFloats(1.0f, 1.0f);
}

// OpenGL objects go with the context; only the records are freed here.
GLDrawerBase::~GLDrawerBase() = default;

void GLDrawerBase::initialise(int windowWidth, int windowHeight, const AppSettings &settings) {
  gl->load();
  settingsArea =
      TwoFloats(static_cast<float>(settings.drawingAreaWidth), static_cast<float>(settings.drawingAreaHeight));
  scalingMode = settings.scalingMode;
  fitDrawingArea(windowWidth, windowHeight);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  prepareDrawing();
  if (frameBufferUse == FrameBuffers::IfAvailable && gl->hasFrameBuffers())
    frameBuffer.create(frameBufferImageName, drawingAreaSize);
  setProjection(drawingAreaSize, false);
  resetTransform();

  if (gl->shadeModel) gl->shadeModel(GL_SMOOTH);
  glClearDepth(1.0);
  glDisable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  // OpenGL ES has neither the hint nor fixed-function texturing to switch on.
  if (!gl->version.isES()) {
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_TEXTURE_2D);
  }
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_BLEND);
  standardBlending = true;

  if (!textures.find(defaultLineName)) loadDefaultLine();
}

void GLDrawerBase::fitDrawingArea(int windowWidth, int windowHeight) {
  drawingAreaSize = settingsArea;
  const float areaAspect = drawingAreaSize.y / drawingAreaSize.x;
  // A window without an area takes the area's shape rather than dividing by zero.
  const bool windowHasArea = windowWidth > 0 && windowHeight > 0;
  const float windowAspect =
      windowHasArea ? static_cast<float>(windowHeight) / static_cast<float>(windowWidth) : areaAspect;
  if (scalingMode == 1 && areaAspect != windowAspect) drawingAreaSize.y = drawingAreaSize.x * windowAspect;
  resizeWindow(windowWidth, windowHeight);
}

void GLDrawerBase::refitWindow(int windowWidth, int windowHeight) {
  fitDrawingArea(windowWidth, windowHeight);
  // The canvas is the area: a new area needs a new projection.
  setProjection(drawingAreaSize, false);
}

void GLDrawerBase::resizeWindow(int windowWidth, int windowHeight) {
  windowSize = TwoFloats(static_cast<float>(windowWidth), static_cast<float>(windowHeight));
  viewportOffset = TwoFloats(0.0f, 0.0f);
  viewportSize = windowSize;
  if (windowWidth > 0 && windowHeight > 0) {
    // Less than half a pixel off the window's shape is rounding, not a bar.
    const float fittedWidth = drawingAreaSize.x / drawingAreaSize.y * windowSize.y;
    const float fittedHeight = drawingAreaSize.y / drawingAreaSize.x * windowSize.x;
    if (fittedWidth < windowSize.x - 0.5f) {
      // Bars left and right.
      viewportSize.x = fittedWidth;
      viewportOffset.x = (windowSize.x - fittedWidth) * 0.5f;
    } else if (fittedHeight < windowSize.y - 0.5f) {
      // Bars above and below.
      viewportSize.y = fittedHeight;
      viewportOffset.y = (windowSize.y - fittedHeight) * 0.5f;
    }
  }
  glViewport(static_cast<int>(viewportOffset.x), static_cast<int>(viewportOffset.y), static_cast<int>(viewportSize.x),
             static_cast<int>(viewportSize.y));
}

void GLDrawerBase::loadDefaultLine() {
  // An empty record left by drawing the name as an image would block the load.
  textures.forget(defaultLineName);
  ImageLoader::ImageData line =
      ImageLoader().loadImage(reinterpret_cast<const char *>(line_png), static_cast<unsigned int>(linePngSize));
  loadSingleImage(line.data, line.width, line.height, defaultLineName);
}

// Every drawer renders its fonts with FreeType.
void GLDrawerBase::setFontRenderer(FontAtlas::Creator &) {}

void GLDrawerBase::loadSingleImage(unsigned char *pixels, int width, int height, const std::wstring &name) {
  textures.loadSingle(pixels, width, height, name);
}

void GLDrawerBase::loadTextureAtlas(unsigned char *pixels, int width, int height, const TextureAtlas &atlas) {
  textures.loadAtlas(pixels, width, height, atlas, GLTextureStore::Texels::GreyWhereGrey);
}

void GLDrawerBase::releaseImage(const std::wstring &name) { textures.release(name); }

void GLDrawerBase::textureDeleted(unsigned int texture) {
  if (currentTexture == texture) currentTexture = 0;
  if (currentSecondTexture == texture) currentSecondTexture = 0;
}

void GLDrawerBase::loadShader(const std::wstring &vertexSource, const std::wstring &fragmentSource,
                              const std::wstring &name) {
  if (canSupport(ShaderPrograms)) programs.load(vertexSource, fragmentSource, name);
}

void GLDrawerBase::registerShaderParam(const std::wstring &paramName) { programs.registerParam(paramName); }

void GLDrawerBase::setShaderParam(const std::wstring &paramName, float value) { programs.setParam(paramName, value); }

void GLDrawerBase::releaseShader(const std::wstring &name) {
  if (programs.release(name)) useShader(std::wstring());
}

void GLDrawerBase::loadFont(const std::wstring &fontName, float size, const std::wstring &name) {
  fonts.load(fontName, size, name);
}

void GLDrawerBase::releaseFont(const std::wstring &name) { fonts.release(name); }

std::map<wchar_t, GlyphMetrics>::iterator GLDrawerBase::loadMissingGlyph(wchar_t character,
                                                                         std::map<wchar_t, GlyphMetrics> &metrics,
                                                                         const std::wstring &fontName) {
  return fonts.loadMissingGlyph(character, metrics, fontName);
}

void GLDrawerBase::beginDrawing() {
  // The drawers never test depth; clearing the unused depth buffer would
  // cost llvmpipe a sixth of a gameplay frame. Whoever turns the test on
  // (a custom blend mode may) gets it cleared.
  glClear(glIsEnabled(GL_DEPTH_TEST) ? GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT : GL_COLOR_BUFFER_BIT);
  resetTransform();
}

void GLDrawerBase::endDrawing() {
  secondImage.clear();
  forgetBindings();
}

void GLDrawerBase::forgetBindings() {
  currentTexture = unknownTexture;
  currentSecondTexture = unknownTexture;
}

void GLDrawerBase::getScreenPixels(std::vector<unsigned char> &pixels) {
  const int width = windowSize.x > 0.0f ? static_cast<int>(windowSize.x) : 0;
  const int height = windowSize.y > 0.0f ? static_cast<int>(windowSize.y) : 0;
  const size_t count = static_cast<size_t>(width) * height;
  glFinish();
  // Read as RGBA, the one format every OpenGL, ES and WebGL reads, then
  // packed to RGB in place (each pixel moves down, never over one unread).
  pixels.assign(count * 4, 0);
  if (count == 0) return;
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  for (size_t i = 0; i < count; ++i) {
    pixels[3 * i] = pixels[4 * i];
    pixels[3 * i + 1] = pixels[4 * i + 1];
    pixels[3 * i + 2] = pixels[4 * i + 2];
  }
  pixels.resize(count * 3);
}

void GLDrawerBase::useSecondImage(const std::wstring &name) { secondImage = name; }

void GLDrawerBase::setBlendMode(int mode) {
  if (mode == 0 || mode == 1) {
    standardBlending = mode == 0;
    glBlendFunc(GL_SRC_ALPHA, mode == 0 ? GL_ONE_MINUS_SRC_ALPHA : GL_ONE);
    if (gl->blendEquation) gl->blendEquation(GL_FUNC_ADD);
    return;
  }
  auto it = customBlendModes.find(mode);
  if (it == customBlendModes.end()) return;
  standardBlending = false;
  it->second->apply();
}

void GLDrawerBase::registerCustomBlendMode(int mode, Drawer::CustomBlendMode *blendMode) {
  customBlendModes.insert(std::make_pair(mode, blendMode));
}

const GLDrawerBase::GLImage &GLDrawerBase::lookUpImage(const std::wstring &name) { return textures.lookUp(name); }

const GLDrawerBase::GLImage &GLDrawerBase::lookUpLineImage(const std::wstring &lineImage) {
  for (const std::wstring &name : {lineImage, std::wstring(defaultLineName)}) {
    const GLImage *image = textures.find(name);
    if (image && image->texture != 0) return *image;
  }
  // Released since: lines keep their soft look.
  loadDefaultLine();
  return textures.lookUp(defaultLineName);
}

void GLDrawerBase::bindTexture(int unit, unsigned int texture) {
  unsigned int &bound = unit == 0 ? currentTexture : currentSecondTexture;
  if (texture == bound) return;
  if (gl->activeTexture) gl->activeTexture(GL_TEXTURE0 + unit);
  glBindTexture(GL_TEXTURE_2D, texture);
  bound = texture;
}

void GLDrawerBase::bindBaseTexture(unsigned int texture) {
  bindTexture(0, texture);
  texturingChanged(texture != 0);
  setSampler(&GLProgramStore::Program::baseTextureLocation, 0);
}

void GLDrawerBase::setSampler(int GLProgramStore::Program::*location, int unit) {
  if (programs.currentName().empty()) return;
  const int found = programs.inUse().*location;
  // Most programs have no such sampler; the call would be wasted on each draw.
  if (found >= 0) gl->uniform1i(found, unit);
}

const GLDrawerBase::GLImage &GLDrawerBase::bindForImageDraw(const GLImage &image, bool repeat) {
  bindBaseTexture(image.texture);
  // Set on every tiled draw, and undone after it, so that tiling works
  // whatever was bound before and plain draws keep clamped edges.
  if (repeat) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  }
  if (secondImage.empty() || !gl->hasMultiTexture()) return blankImage;
  secondImageBound = true;
  const GLImage &second = lookUpImage(secondImage);
  gl->activeTexture(GL_TEXTURE1);
  if (!gl->version.isES()) glEnable(GL_TEXTURE_2D);
  bindTexture(1, second.texture);
  if (repeat) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  }
  setSampler(&GLProgramStore::Program::secondTextureLocation, 1);
  return second;
}

void GLDrawerBase::finishImageDraw(const GLImage &image, const GLImage &second, bool repeat) {
  if (&second != &blankImage) {
    secondImageBound = false;
    gl->activeTexture(GL_TEXTURE1);
    if (repeat) {
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    if (!gl->version.isES()) glDisable(GL_TEXTURE_2D);
    gl->activeTexture(GL_TEXTURE0);
  }
  if (repeat && image.texture != 0) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  }
}

GLDrawerBase::OpaqueFill::OpaqueFill(const GLDrawerBase &drawer, float alpha)
    : unblended(alpha == 1.0f && drawer.standardBlending) {
  if (unblended) glDisable(GL_BLEND);
}

GLDrawerBase::OpaqueFill::~OpaqueFill() {
  if (unblended) glEnable(GL_BLEND);
}

void GLDrawerBase::rectangleCorners(const TwoFloats &position, const TwoFloats &size, TwoFloats corners[4]) {
  corners[0] = position;
  corners[1] = position + TwoFloats(size.x, 0.0f);
  corners[2] = position + size;
  corners[3] = position + TwoFloats(0.0f, size.y);
}

void GLDrawerBase::setQuad(QuadVertex quad[4], const TwoFloats corners[4], const TwoFloats &origin,
                           const TwoFloats &extent, const TwoFloats &secondOrigin, const TwoFloats &secondExtent,
                           const ThreeFloats &colour, float alpha) {
  const float unit[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  for (int i = 0; i < 4; ++i) {
    const float u = unit[i][0], v = unit[i][1];
    quad[i].position = corners[i];
    quad[i].texCoord = TwoFloats(origin.x + extent.x * u, origin.y + extent.y * v);
    quad[i].secondTexCoord = TwoFloats(secondOrigin.x + secondExtent.x * u, secondOrigin.y + secondExtent.y * v);
    quad[i].colour = colour;
    quad[i].alpha = alpha;
  }
}

void GLDrawerBase::drawImageCorners(const GLImage &image, const TwoFloats corners[4], const TwoFloats &subPosition,
                                    const TwoFloats &subSize, const ThreeFloats &colour, float alpha) {
  const GLImage &second = bindForImageDraw(image, false);
  const auto cut = [&](const Drawer::Image &whole, TwoFloats &origin, TwoFloats &extent) {
    origin = TwoFloats(whole.texCoordOrigin.x + whole.texCoordSize.x * subPosition.x,
                       whole.texCoordOrigin.y + whole.texCoordSize.y * subPosition.y);
    extent = TwoFloats(whole.texCoordSize.x * subSize.x, whole.texCoordSize.y * subSize.y);
  };
  TwoFloats origin, extent, secondOrigin, secondExtent;
  cut(image.image, origin, extent);
  cut(second.image, secondOrigin, secondExtent);
  QuadVertex quad[4];
  setQuad(quad, corners, origin, extent, secondOrigin, secondExtent, colour, alpha);
  drawQuads(quad, 4, false);
  finishImageDraw(image, second, false);
}

void GLDrawerBase::drawSubImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &subPosition,
                                const TwoFloats &subSize, const TwoFloats &scale, const ThreeFloats &colour,
                                float alpha) {
  const GLImage &image = lookUpImage(name);
  TwoFloats corners[4];
  rectangleCorners(
      position, TwoFloats(image.image.size.x * subSize.x * scale.x, image.image.size.y * subSize.y * scale.y), corners);
  drawImageCorners(image, corners, subPosition, subSize, colour, alpha);
}

void GLDrawerBase::drawTiledImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &size,
                                  const TwoFloats &tiles, const ThreeFloats &colour, float alpha) {
  const GLImage &image = lookUpImage(name);
  const GLImage &second = bindForImageDraw(image, true);
  TwoFloats corners[4];
  rectangleCorners(position, size, corners);
  // The whole texture repeats; atlas rectangles are not used.
  QuadVertex quad[4];
  setQuad(quad, corners, TwoFloats(), tiles, TwoFloats(), tiles, colour, alpha);
  drawQuads(quad, 4, false);
  finishImageDraw(image, second, true);
}

void GLDrawerBase::fillGradient(const TwoFloats &position, const TwoFloats &size, const ThreeFloats &topColour,
                                const ThreeFloats &bottomColour, float topAlpha, float bottomAlpha) {
  bindBaseTexture(0);
  TwoFloats corners[4];
  rectangleCorners(position, size, corners);
  QuadVertex quad[4];
  setQuad(quad, corners, TwoFloats(), TwoFloats(1.0f, 1.0f), TwoFloats(), TwoFloats(1.0f, 1.0f), topColour, topAlpha);
  for (int i = 2; i < 4; ++i) {
    quad[i].colour = bottomColour;
    quad[i].alpha = bottomAlpha;
  }
  drawQuads(quad, 4, true);
}

void GLDrawerBase::drawConnectedLine(const std::wstring &lineImage, const std::vector<TwoFloats> &points,
                                     const std::vector<float> &widths, const std::vector<ThreeFloats> &colours,
                                     const std::vector<float> &alphas) {
  const size_t n = points.size();
  // Fewer than four points give no segment between two inner points.
  if (n < 4) return;
  MW_ASSERT(widths.size() >= n - 1 && colours.size() >= n - 1 && alphas.size() >= n - 1);
  bindBaseTexture(lookUpLineImage(lineImage).texture);
  buildConnectedLine(points, widths, colours, alphas);
  if (!lineVertices.empty()) drawQuads(lineVertices.data(), lineVertices.size(), true);
}

void GLDrawerBase::buildConnectedLine(const std::vector<TwoFloats> &points, const std::vector<float> &widths,
                                      const std::vector<ThreeFloats> &colours, const std::vector<float> &alphas) {
  lineVertices.clear();
  const size_t n = points.size();
  TwoFloats m0 = TwoFloats(points[1].y - points[0].y, -(points[1].x - points[0].x)).normal();
  for (size_t i = 1; i < n - 2; ++i) {
    const TwoFloats &a = points[i], &b = points[i + 1], &c = points[i + 2];
    const TwoFloats m1 = TwoFloats(c.y - b.y, -(c.x - b.x)).normal();
    // Skips a segment whose ends would turn the quad inside out.
    if (std::fabs(std::atan2(m1.x - m0.x, m1.y - m0.y)) < 3.141592f) {
      // u runs across the line, v along it, from a to b.
      const TwoFloats corners[4] = {a - m0 * widths[i], a + m0 * widths[i], b + m1 * widths[i + 1],
                                    b - m1 * widths[i + 1]};
      QuadVertex quad[4];
      setQuad(quad, corners, TwoFloats(), TwoFloats(1.0f, 1.0f), TwoFloats(), TwoFloats(1.0f, 1.0f), colours[i],
              alphas[i]);
      for (int j = 2; j < 4; ++j) {
        quad[j].colour = colours[i + 1];
        quad[j].alpha = alphas[i + 1];
      }
      lineVertices.insert(lineVertices.end(), quad, quad + 4);
    }
    m0 = m1;
  }
}

void GLDrawerBase::drawGlyphs(const TextLayout &layout, const TwoFloats &position, float scale,
                              const ThreeFloats &colour, float alpha) {
  for (const TextLayout::GlyphPos &glyph : layout.glyphs)
    drawImage(glyph.name, position + glyph.position, TwoFloats(scale, scale), colour, alpha);
}

void GLDrawerBase::drawText(const std::wstring &text, const std::wstring &fontName, const TwoFloats &position,
                            float lineWidth, TextLayout::Justification justification, float scale,
                            const ThreeFloats &colour, float alpha) {
  textLayout.clear();
  drawText(text, fontName, textLayout, position, lineWidth, justification, scale, colour, alpha);
}

void GLDrawerBase::drawText(const std::wstring &text, const std::wstring &fontName, TextLayout &layout,
                            const TwoFloats &position, float lineWidth, TextLayout::Justification justification,
                            float scale, const ThreeFloats &colour, float alpha) {
  GLFontShelf::Metrics *metrics = fonts.metrics(fontName);
  if (!metrics) return;
  if (layout.isEmpty()) layout.getLayoutForText(text, *metrics, lineWidth, scale, justification, fontName, this);
  drawGlyphs(layout, position, scale, colour, alpha);
}

void GLDrawerBase::setViewport(const TwoFloats &position, const TwoFloats &size) {
  const TwoFloats &area = drawingAreaSize;
  const TwoFloats &vo = viewportOffset;
  const TwoFloats &vs = viewportSize;
  const int x = static_cast<int>(vo.x) + static_cast<int>(position.x / area.x * vs.x);
  const int y = static_cast<int>(vo.y) + static_cast<int>(vs.y) - static_cast<int>(position.y / area.y * vs.y) -
                static_cast<int>(size.y / area.y * vs.y);
  const int w = static_cast<int>(size.x / area.x * vs.x);
  const int h = static_cast<int>(size.y / area.y * vs.y);
  glViewport(x, y, w, h);
  setProjection(size, false);
}

void GLDrawerBase::resetViewport() {
  glViewport(static_cast<int>(viewportOffset.x), static_cast<int>(viewportOffset.y), static_cast<int>(viewportSize.x),
             static_cast<int>(viewportSize.y));
  setProjection(drawingAreaSize, false);
}

void GLDrawerBase::startFrameBufferDrawing() {
  // Without a frame buffer the bracket draws into the window, the right way up.
  if (!frameBuffer.exists()) {
    resetViewport();
    return;
  }
  frameBuffer.bind(drawingAreaSize);
  const int width = static_cast<int>(drawingAreaSize.x);
  const int height = static_cast<int>(drawingAreaSize.y);
  // y up here, so that texture row 0 holds the top of the drawing and the
  // image shows upright when drawn.
  setProjection(TwoFloats(static_cast<float>(width), static_cast<float>(height)), true);
}

void GLDrawerBase::endFrameBufferDrawing() {
  if (frameBuffer.exists()) frameBuffer.unbind();
  resetViewport();
}

std::wstring GLDrawerBase::getFrameBufferImage() const { return frameBufferImageName; }

bool GLDrawerBase::canSupport(Drawer::GraphicsCapabilities capability) const {
  switch (capability) {
    case ShaderPrograms: return gl->hasShaders();
    case FrameBufferDrawing: return frameBuffer.exists();
    case MultiTexturing: return gl->hasMultiTexture();
  }
  return false;
}

const void *GLDrawerBase::getInternalImageData(const std::wstring &name) const { return textures.find(name); }
