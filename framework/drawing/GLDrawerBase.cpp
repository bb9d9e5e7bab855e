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

namespace {

int nextPowerOfTwo(int value) {
  int power = 1;
  while (power < value) power <<= 1;
  return power;
}

// Pads an image of texelBytes-byte texels to pw x ph by repeating its last
// column and last row, so that linear filtering at the right and bottom
// edges sees the edge colour.
unsigned char *padImage(const unsigned char *pixels, int width, int height, int pw, int ph, size_t texelBytes) {
  const size_t rowBytes = static_cast<size_t>(width) * texelBytes;
  const size_t paddedRowBytes = static_cast<size_t>(pw) * texelBytes;
  unsigned char *padded = new unsigned char[paddedRowBytes * ph];
  for (int y = 0; y < ph; ++y) {
    unsigned char *row = padded + paddedRowBytes * y;
    if (y < height) {
      std::memcpy(row, pixels + rowBytes * y, rowBytes);
      for (size_t x = rowBytes; x < paddedRowBytes; x += texelBytes)
        std::memcpy(row + x, row + rowBytes - texelBytes, texelBytes);
    } else {
      std::memcpy(row, padded + paddedRowBytes * (height - 1), paddedRowBytes);
    }
  }
  return padded;
}

// Whether every pixel's red, green and blue are equal.
bool isGrey(const unsigned char *pixels, size_t pixelCount) {
  for (size_t i = 0; i < pixelCount; ++i, pixels += 4) {
    if (pixels[0] != pixels[1] || pixels[0] != pixels[2]) return false;
  }
  return true;
}

// Packs grey RGBA pixels into grey and alpha, two bytes a pixel, at the
// start of the same buffer: a copy would hold half an image more while the
// driver makes its own. Pixel i's two bytes land at 2i, before any byte
// still to be read.
void packGreyAndAlpha(unsigned char *pixels, size_t pixelCount) {
  for (size_t i = 0; i < pixelCount; ++i) {
    const unsigned char alpha = pixels[4 * i + 3];
    pixels[2 * i] = pixels[4 * i];
    pixels[2 * i + 1] = alpha;
  }
}

// An internal format: desktop OpenGL's sized one, or the unsized one OpenGL
// ES 2 (and so WebGL 1) insists on.
GLenum internalFormat(const GLEntryPoints &gl, GLenum desktop, GLenum es) { return gl.version.isES() ? es : desktop; }

// The info log of a shader or program, without its closing line breaks.
template <typename GetParameter, typename GetLog>
std::string infoLog(GLuint object, GetParameter getParameter, GetLog getLog) {
  GLint length = 0;
  getParameter(object, GL_INFO_LOG_LENGTH, &length);
  if (length <= 0 || !getLog) return std::string();
  std::string log(static_cast<size_t>(length), '\0');
  GLsizei written = 0;
  getLog(object, length, &written, &log[0]);
  log.resize(static_cast<size_t>(std::max(written, 0)));
  while (!log.empty() && std::isspace(static_cast<unsigned char>(log.back()))) log.pop_back();
  return log;
}

// One report on standard error, then the log as the driver wrote it.
void reportShaderFailure(const std::wstring &name, const std::string &failure, const std::string &log) {
  std::string application, shader;
  UTF8File::wstringToChar(AppSettings::applicationName, application);
  UTF8File::wstringToChar(name, shader);
  std::fprintf(stderr, "%s: shader \"%s\": %s: %s\n", application.c_str(), shader.c_str(), failure.c_str(),
               log.empty() ? "the driver gives no log" : log.c_str());
}

}  // namespace

GLDrawerBase::GLDrawerBase(const BuiltInNames &names, FrameBuffers frameBuffers)
    : drawingAreaSize(1280.0f, 720.0f),
      windowSize(1280.0f, 720.0f),
      linePngSize(linePngBytes),
      gl(new GLEntryPoints),
      defaultShaderName(names.defaultShader),
      fontCreator(&FreetypeFontAtlas::creator),
      frameBufferImageName(names.frameBufferImage),
      defaultLineName(names.defaultLine),
      frameBufferUse(frameBuffers) {
  blankImage.image.texCoordSize = TwoFloats(1.0f, 1.0f);
  currentShader = defaultShaderName;
}

// OpenGL objects go with the context; only the records are freed here.
GLDrawerBase::~GLDrawerBase() = default;

void GLDrawerBase::initialise(int windowWidth, int windowHeight, const AppSettings &settings) {
  gl->load();
  fitDrawingArea(windowWidth, windowHeight, settings);
  prepareDrawing();
  if (frameBufferUse == FrameBuffers::IfAvailable && gl->hasFrameBuffers()) setupFrameBuffer();
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

  if (images.find(defaultLineName) == images.end()) loadDefaultLine();
}

void GLDrawerBase::fitDrawingArea(int windowWidth, int windowHeight, const AppSettings &settings) {
  drawingAreaSize =
      TwoFloats(static_cast<float>(settings.drawingAreaWidth), static_cast<float>(settings.drawingAreaHeight));
  const float areaAspect = drawingAreaSize.y / drawingAreaSize.x;
  // A window without an area takes the area's shape rather than dividing by zero.
  const bool windowHasArea = windowWidth > 0 && windowHeight > 0;
  const float windowAspect =
      windowHasArea ? static_cast<float>(windowHeight) / static_cast<float>(windowWidth) : areaAspect;
  if (settings.scalingMode == 1 && areaAspect != windowAspect) drawingAreaSize.y = drawingAreaSize.x * windowAspect;

  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  resizeWindow(windowWidth, windowHeight);
  glClear(GL_COLOR_BUFFER_BIT);
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
  images.erase(defaultLineName);
  ImageLoader::ImageData line =
      ImageLoader().loadImage(reinterpret_cast<const char *>(line_png), static_cast<unsigned int>(linePngSize));
  loadSingleImage(line.data, line.width, line.height, defaultLineName);
}

// The buffers start at one pixel and get the drawing area's size on first
// use (sizeFrameBuffer): a game that never draws into them is spared 7 MiB
// at 1280 x 720. Until then the image is one transparent pixel, as an
// unused frame buffer's image was before.
void GLDrawerBase::setupFrameBuffer() {
  gl->genFramebuffers(1, &frameBuffer);
  gl->bindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
  GLuint depth = 0;
  gl->genRenderbuffers(1, &depth);
  gl->bindRenderbuffer(GL_RENDERBUFFER, depth);
  gl->renderbufferStorage(GL_RENDERBUFFER, internalFormat(*gl, GL_DEPTH_COMPONENT, GL_DEPTH_COMPONENT16), 1, 1);
  gl->framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);

  GLuint texture = 0;
  glGenTextures(1, &texture);
  bindTexture(0, texture);
  const unsigned char transparent[4] = {0, 0, 0, 0};
  glTexImage2D(GL_TEXTURE_2D, 0, internalFormat(*gl, GL_RGBA8, GL_RGBA), 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               transparent);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  gl->framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);

  GLImage record;
  record.image.size = drawingAreaSize;
  record.image.texCoordSize = TwoFloats(1.0f, 1.0f);
  record.texture = texture;
  registerImage(frameBufferImageName, record);
  frameBufferTexture = texture;
  frameBufferDepth = depth;
  frameBufferSized = false;

  bindTexture(0, 0);
  gl->bindFramebuffer(GL_FRAMEBUFFER, 0);
}

void GLDrawerBase::sizeFrameBuffer() {
  if (frameBufferSized) return;
  const int width = static_cast<int>(drawingAreaSize.x);
  const int height = static_cast<int>(drawingAreaSize.y);
  gl->bindRenderbuffer(GL_RENDERBUFFER, frameBufferDepth);
  gl->renderbufferStorage(GL_RENDERBUFFER, internalFormat(*gl, GL_DEPTH_COMPONENT, GL_DEPTH_COMPONENT16), width,
                          height);
  bindTexture(0, frameBufferTexture);
  glTexImage2D(GL_TEXTURE_2D, 0, internalFormat(*gl, GL_RGBA8, GL_RGBA), width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               nullptr);
  frameBufferSized = true;
  // Completeness is not acted on: an incomplete frame buffer draws nothing.
  gl->checkFramebufferStatus(GL_FRAMEBUFFER);
}

// Every drawer renders its fonts with FreeType.
void GLDrawerBase::setFontRenderer(FontAtlas::Creator &) {}

bool GLDrawerBase::uploadTexture(unsigned char *pixels, int width, int height, unsigned int &texture, TwoFloats &extent,
                                 Texels texels) {
  if (!pixels) return false;
  if (width <= 0 || height <= 0) {
    delete[] pixels;
    return false;
  }
  const int textureWidth = nextPowerOfTwo(width), textureHeight = nextPowerOfTwo(height);
  // Rows of two-byte texels stay 4-byte aligned from two texels on. Grey is
  // packed before padding, so that the padded copy is half the size.
  const bool grey =
      texels == Texels::GreyWhereGrey && textureWidth >= 2 && isGrey(pixels, static_cast<size_t>(width) * height);
  if (grey) packGreyAndAlpha(pixels, static_cast<size_t>(width) * height);
  extent = TwoFloats(1.0f, 1.0f);
  if (textureWidth != width || textureHeight != height) {
    unsigned char *padded = padImage(pixels, width, height, textureWidth, textureHeight, grey ? 2 : 4);
    delete[] pixels;
    pixels = padded;
    extent = TwoFloats(static_cast<float>(width) / textureWidth, static_cast<float>(height) / textureHeight);
  }
  GLuint name = 0;
  glGenTextures(1, &name);
  bindTexture(0, name);
  if (grey)
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat(*gl, GL_LUMINANCE8_ALPHA8, GL_LUMINANCE_ALPHA), textureWidth,
                 textureHeight, 0, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, pixels);
  else
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, textureWidth, textureHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  const GLint filter = smoothTextures ? GL_LINEAR : GL_NEAREST;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  bindTexture(0, 0);
  delete[] pixels;
  texture = name;
  return true;
}

bool GLDrawerBase::registerImage(const std::wstring &name, const GLImage &record) {
  auto inserted = images.insert(std::make_pair(name, record));
  if (!inserted.second) return false;
  imageRegistered(inserted.first->second);
  return true;
}

void GLDrawerBase::loadSingleImage(unsigned char *pixels, int width, int height, const std::wstring &name) {
  // A taken name keeps its first registration; uploading the new pixels
  // would only leave an unreachable texture behind.
  if (images.find(name) != images.end()) {
    delete[] pixels;
    return;
  }
  GLImage record;
  if (!uploadTexture(pixels, width, height, record.texture, record.image.texCoordSize, Texels::GreyWhereGrey)) return;
  record.image.size = TwoFloats(static_cast<float>(width), static_cast<float>(height));
  registerImage(name, record);
}

void GLDrawerBase::loadTextureAtlas(unsigned char *pixels, int width, int height, const TextureAtlas &atlas) {
  loadAtlasTexture(pixels, width, height, atlas, Texels::GreyWhereGrey);
}

void GLDrawerBase::loadAtlasTexture(unsigned char *pixels, int width, int height, const TextureAtlas &atlas,
                                    Texels texels) {
  bool anyNameFree = false;
  for (int i = 0; i < atlas.numImages; ++i) anyNameFree |= images.find(atlas.images[i].name) == images.end();
  if (!anyNameFree) {
    delete[] pixels;
    return;
  }
  GLImage record;
  TwoFloats extent;
  if (!uploadTexture(pixels, width, height, record.texture, extent, texels)) return;
  for (int i = 0; i < atlas.numImages; ++i) {
    const AtlasImage &member = atlas.images[i];
    record.image.texCoordOrigin = TwoFloats(extent.x * member.position.x, extent.y * member.position.y);
    record.image.texCoordSize = TwoFloats(extent.x * member.size.x, extent.y * member.size.y);
    // The member's natural size is its share of the unpadded image.
    record.image.size = TwoFloats(member.size.x * width, member.size.y * height);
    registerImage(member.name, record);
  }
}

void GLDrawerBase::releaseImage(const std::wstring &name) {
  auto it = images.find(name);
  if (it == images.end()) return;
  const GLuint texture = it->second.texture;
  imageReleased(it->second);
  images.erase(it);
  // An empty record shares no texture with anything.
  if (texture == 0) return;
  glDeleteTextures(1, &texture);
  // The number may come back for a new texture: forget it as bound.
  if (currentTexture == texture) currentTexture = 0;
  if (currentSecondTexture == texture) currentSecondTexture = 0;
  for (auto other = images.begin(); other != images.end();) {
    if (other->second.texture == texture) {
      imageReleased(other->second);
      other = images.erase(other);
    } else {
      ++other;
    }
  }
}

unsigned int GLDrawerBase::buildProgram(const std::wstring &vertexSource, const std::wstring &fragmentSource,
                                        const std::wstring &name, bool &built) {
  built = false;
  const GLuint vertexShader = gl->createShader(GL_VERTEX_SHADER);
  const GLuint fragmentShader = gl->createShader(GL_FRAGMENT_SHADER);
  // Both are compiled, so that each reports its own faults.
  const bool vertexCompiled = compileShader(vertexShader, vertexSource, "vertex", name);
  const bool fragmentCompiled = compileShader(fragmentShader, fragmentSource, "fragment", name);
  const GLuint program = gl->createProgram();
  if (program != 0) {
    gl->attachShader(program, vertexShader);
    gl->attachShader(program, fragmentShader);
    programLinking(program);
    gl->linkProgram(program);
    GLint linked = GL_FALSE;
    gl->getProgramiv(program, GL_LINK_STATUS, &linked);
    built = linked == GL_TRUE && vertexCompiled && fragmentCompiled;
    // A shader that did not compile has already said why the link fails.
    if (linked != GL_TRUE && vertexCompiled && fragmentCompiled)
      reportShaderFailure(name, "the program does not link", infoLog(program, gl->getProgramiv, gl->getProgramInfoLog));
  }
  // Attached shaders live on with their program.
  gl->deleteShader(vertexShader);
  gl->deleteShader(fragmentShader);
  return program;
}

bool GLDrawerBase::compileShader(unsigned int shader, const std::wstring &source, const char *stage,
                                 const std::wstring &name) {
  std::string text;
  UTF8File::wstringToChar(gl->version.shaderSource(source, std::strcmp(stage, "fragment") == 0), text);
  const GLchar *string = text.c_str();
  gl->shaderSource(shader, 1, &string, nullptr);
  gl->compileShader(shader);
  GLint compiled = GL_FALSE;
  gl->getShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (compiled == GL_TRUE) return true;
  reportShaderFailure(name, std::string("the ") + stage + " shader does not compile",
                      infoLog(shader, gl->getShaderiv, gl->getShaderInfoLog));
  return false;
}

void GLDrawerBase::loadShader(const std::wstring &vertexSource, const std::wstring &fragmentSource,
                              const std::wstring &name) {
  if (!canSupport(ShaderPrograms)) return;
  bool built = false;
  const GLuint program = buildProgram(vertexSource, fragmentSource, name, built);
  // Registered even when broken, so that useShader of the name stays legal;
  // OpenGL then keeps drawing with the program in use before.
  if (program != 0 && !registerProgram(name, program)) gl->deleteProgram(program);
}

bool GLDrawerBase::registerProgram(const std::wstring &name, unsigned int program) {
  ShaderInternal shader;
  shader.program = program;
  shader.baseTextureLocation = gl->getUniformLocation(program, "base");
  shader.secondTextureLocation = gl->getUniformLocation(program, "second");
  return shaders.insert(std::make_pair(name, shader)).second;
}

void GLDrawerBase::registerShaderParam(const std::wstring &paramName) {
  ShaderInternal &shader = shaders[currentShader];
  std::string name;
  UTF8File::wstringToChar(paramName, name);
  shader.params[paramName] = shader.program != 0 ? gl->getUniformLocation(shader.program, name.c_str()) : -1;
}

void GLDrawerBase::setShaderParam(const std::wstring &paramName, float value) {
  ShaderInternal &shader = shaders[currentShader];
  // An unregistered parameter gets location -1, which OpenGL ignores.
  const auto param = shader.params.insert(std::make_pair(paramName, -1L)).first;
  if (shader.program != 0) gl->uniform1f(static_cast<GLint>(param->second), value);
}

void GLDrawerBase::releaseShader(const std::wstring &name) {
  auto it = shaders.find(name);
  // The program a drawer draws with when no other is chosen stays.
  if (it == shaders.end() || name == defaultShaderName) return;
  gl->deleteProgram(it->second.program);
  shaders.erase(it);
  if (currentShader == name) useShader(std::wstring());
}

void GLDrawerBase::loadFont(const std::wstring &fontName, float size, const std::wstring &name) {
  // A taken name keeps its first font.
  if (fonts.find(name) != fonts.end()) return;
  const FilePath path = FontAtlas::findFontFile(fontName);
  if (!path.isFile()) return;
  FontInternal font;
  // A size whose page no texture can hold is refused before the page is drawn.
  GLint maxTextureSide = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSide);
  font.atlas = fontCreator->createInstance(path, size, font.metrics, name, maxTextureSide);
  if (!font.atlas || font.metrics.empty() || font.atlas->numImages == 0) return;
  const int d = font.atlas->getAtlasDimensions();
  // Later glyphs are written into the page as RGBA.
  loadAtlasTexture(font.atlas->takeImageData().release(), d, d, *font.atlas, Texels::Rgba);
  const auto first = images.find(font.atlas->images[0].name);
  if (first == images.end() || first->second.texture == 0) return;
  font.currentTexture = first->second.texture;
  font.textures.push_back(font.currentTexture);
  fonts.insert(std::make_pair(name, font));
}

void GLDrawerBase::releaseFont(const std::wstring &name) {
  auto it = fonts.find(name);
  if (it == fonts.end()) return;
  const FontInternal &font = it->second;
  MW_ASSERT(font.metrics.size() > 0);
  // Every page the font grew, with every glyph on it.
  for (const unsigned long texture : font.textures) {
    const auto glyph = std::find_if(
        images.begin(), images.end(),
        [texture](const std::pair<const std::wstring, GLImage> &image) { return image.second.texture == texture; });
    if (glyph != images.end()) releaseImage(glyph->first);
  }
  fonts.erase(it);
}

std::map<wchar_t, GlyphMetrics>::iterator GLDrawerBase::loadMissingGlyph(wchar_t character,
                                                                         std::map<wchar_t, GlyphMetrics> &metrics,
                                                                         const std::wstring &fontName) {
  auto it = fonts.find(fontName);
  if (it == fonts.end()) return metrics.end();
  FontInternal &font = it->second;
  AtlasImage *member = nullptr;
  unsigned char *buffer = nullptr;
  int width = 0, height = 0;
  bool newPage = false;
  font.atlas->getMissingGlyphData(character, metrics, &member, &buffer, width, height, newPage);
  std::unique_ptr<unsigned char[]> pixels(buffer);
  if (!member) return metrics.end();
  const int d = font.atlas->getAtlasDimensions();
  GLImage record;
  record.image.texCoordOrigin = member->position;
  record.image.texCoordSize = member->size;
  if (newPage) {
    unsigned int texture = 0;
    TwoFloats extent;
    if (!uploadTexture(pixels.release(), width, height, texture, extent)) return metrics.find(character);
    font.currentTexture = texture;
    font.textures.push_back(texture);
    record.image.size = TwoFloats(d * member->size.x, d * member->size.y);
  } else {
    bindTexture(0, static_cast<unsigned int>(font.currentTexture));
    // Rows of whole RGBA pixels are always 4-byte aligned.
    glTexSubImage2D(GL_TEXTURE_2D, 0, static_cast<int>(std::lround(d * member->position.x)),
                    static_cast<int>(std::lround(d * member->position.y)), width, height, GL_RGBA, GL_UNSIGNED_BYTE,
                    pixels.get());
    record.image.size = TwoFloats(static_cast<float>(width), static_cast<float>(height));
  }
  record.texture = static_cast<unsigned int>(font.currentTexture);
  registerImage(member->name, record);
  return metrics.find(character);
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

const GLDrawerBase::GLImage &GLDrawerBase::lookUpImage(const std::wstring &name) { return images[name]; }

const GLDrawerBase::GLImage &GLDrawerBase::lookUpLineImage(const std::wstring &lineImage) {
  auto it = images.find(lineImage);
  if (it != images.end() && it->second.texture != 0) return it->second;
  it = images.find(defaultLineName);
  if (it != images.end() && it->second.texture != 0) return it->second;
  // Released since: lines keep their soft look.
  loadDefaultLine();
  return images[defaultLineName];
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
  setSampler(&ShaderInternal::baseTextureLocation, 0);
}

void GLDrawerBase::setSampler(int ShaderInternal::*location, int unit) {
  if (currentShader.empty()) return;
  const int found = shaders[currentShader].*location;
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
  setSampler(&ShaderInternal::secondTextureLocation, 1);
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
  auto font = fonts.find(fontName);
  if (font == fonts.end()) return;
  if (layout.isEmpty())
    layout.getLayoutForText(text, font->second.metrics, lineWidth, scale, justification, fontName, this);
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
  if (frameBuffer == 0) {
    resetViewport();
    return;
  }
  gl->bindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
  sizeFrameBuffer();
  // OpenGL ES draws into the only attachment there is.
  if (gl->drawBuffer) gl->drawBuffer(GL_COLOR_ATTACHMENT0);
  const int width = static_cast<int>(drawingAreaSize.x);
  const int height = static_cast<int>(drawingAreaSize.y);
  glViewport(0, 0, width, height);
  // y up here, so that texture row 0 holds the top of the drawing and the
  // image shows upright when drawn.
  setProjection(TwoFloats(static_cast<float>(width), static_cast<float>(height)), true);
}

void GLDrawerBase::endFrameBufferDrawing() {
  if (frameBuffer != 0) gl->bindFramebuffer(GL_FRAMEBUFFER, 0);
  resetViewport();
}

std::wstring GLDrawerBase::getFrameBufferImage() const { return frameBufferImageName; }

bool GLDrawerBase::canSupport(Drawer::GraphicsCapabilities capability) const {
  switch (capability) {
    case ShaderPrograms: return gl->hasShaders();
    case FrameBufferDrawing: return frameBuffer != 0;
    case MultiTexturing: return gl->hasMultiTexture();
  }
  return false;
}

const void *GLDrawerBase::getInternalImageData(const std::wstring &name) const {
  auto it = images.find(name);
  return it == images.end() ? nullptr : &it->second;
}
