#include "framework/drawing/GLESDrawer.h"

#include "base/Assertion.h"
#include "framework/drawing/GLEntryPoints.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

const wchar_t *const builtInShaderName = L"-default-shader-";

// The default program with a colour per vertex, for gradients and connected
// lines: the same transforms, the vertex colour times "pxuColour".
const wchar_t *const vertexColourVertexSource =
    L"#version 120\n"
    L"attribute vec4 pxuVertexPosition;\n"
    L"attribute vec2 pxuBaseTexCoords;\n"
    L"attribute vec4 pxuVertexColour;\n"
    L"uniform mat4x4 pxuProjectionMatrix;\n"
    L"uniform mat4x4 pxuModelviewMatrix;\n"
    L"varying vec2 pxuFragBaseTexCoords;\n"
    L"varying vec4 pxuFragColour;\n"
    L"void main()\n"
    L"{\n"
    L"\tpxuFragBaseTexCoords = pxuBaseTexCoords;\n"
    L"\tpxuFragColour = pxuVertexColour;\n"
    L"\tgl_Position = pxuModelviewMatrix * pxuVertexPosition * pxuProjectionMatrix;\n"
    L"}\n";
const wchar_t *const vertexColourFragmentSource =
    L"#version 120\n"
    L"uniform vec4 pxuColour;\n"
    L"uniform sampler2D pxuBaseTexture;\n"
    L"uniform float pxuTextureExists;\n"
    L"varying vec2 pxuFragBaseTexCoords;\n"
    L"varying vec4 pxuFragColour;\n"
    L"void main()\n"
    L"{\n"
    L"\tvec4 c = pxuColour * pxuFragColour;\n"
    L"\tgl_FragColor = mix(c, c * texture2D(pxuBaseTexture, pxuFragBaseTexCoords), pxuTextureExists);\n"
    L"}\n";

// The built-in program's two cases as programs of their own, for drawing
// while it is the one chosen: it gives the colour times the texture, or the
// plain colour, and so do these, pixel for pixel. Only the texture's case
// samples the texture, and both take llvmpipe's quicker paths.
const wchar_t *const texturedFragmentSource =
    L"#version 120\n"
    L"uniform vec4 pxuColour;\n"
    L"uniform sampler2D pxuBaseTexture;\n"
    L"varying vec2 pxuFragBaseTexCoords;\n"
    L"void main()\n"
    L"{\n"
    L"\tgl_FragColor = pxuColour * texture2D(pxuBaseTexture, pxuFragBaseTexCoords);\n"
    L"}\n";
const wchar_t *const plainFragmentSource =
    L"#version 120\n"
    L"uniform vec4 pxuColour;\n"
    L"void main()\n"
    L"{\n"
    L"\tgl_FragColor = pxuColour;\n"
    L"}\n";

enum Attribute { VertexPosition = 0, BaseTexCoords = 1, SecondTexCoords = 2, VertexColour = 3 };

// Whether a space-separated list holds the name as one of its words.
bool listHolds(const char *list, const char *name) {
  const size_t length = std::strlen(name);
  for (const char *at = std::strstr(list, name); at; at = std::strstr(at + 1, name)) {
    const bool startsWord = at == list || at[-1] == ' ';
    const bool endsWord = at[length] == '\0' || at[length] == ' ';
    if (startsWord && endsWord) return true;
  }
  return false;
}

}  // namespace

const wchar_t *const GLESDrawer::defaultVertexSource =
    L"\t#version 120\n\t\tattribute vec4 pxuVertexPosition;\t\tuniform mat4x4 pxuProjectionMatrix;\tuniform mat4x4 "
    L"pxuModelviewMatrix;\t\tattribute vec2 pxuBaseTexCoords;\tattribute vec2 pxuSecondTexCoords;\t\tvarying vec2 "
    L"pxuFragBaseTexCoords;\tvarying vec2 pxuFragSecondTexCoords;\t\tvoid main()\t{\t\tpxuFragBaseTexCoords = "
    L"pxuBaseTexCoords;\t\tpxuFragSecondTexCoords = pxuSecondTexCoords;\t\tgl_Position = pxuModelviewMatrix * "
    L"pxuVertexPosition * pxuProjectionMatrix;\t}";
const wchar_t *const GLESDrawer::defaultFragmentSource =
    L"\t#version 120\n\t\tuniform vec4 pxuColour;\t\tuniform sampler2D pxuBaseTexture;\tuniform sampler2D "
    L"pxuSecondTexture;\t\tuniform float pxuTextureExists;\t\tvarying vec2 pxuFragBaseTexCoords;\tvarying vec2 "
    L"pxuFragSecondTexCoords;\t\tvoid main()\t{\t\tvec4 b = texture2D(pxuBaseTexture, pxuFragBaseTexCoords);\t\tvec4 s "
    L"= texture2D(pxuSecondTexture, pxuFragSecondTexCoords);\t\t\t\tgl_FragColor = mix(pxuColour, pxuColour * b, "
    L"pxuTextureExists);\t}";

GLESDrawer::GLESDrawer(FrameBuffers frameBuffers)
    : GLESDrawer(frameBuffers, defaultVertexSource, defaultFragmentSource) {}

GLESDrawer::GLESDrawer(FrameBuffers frameBuffers, const std::wstring &vertexSource, const std::wstring &fragmentSource)
    : GLDrawerBase(BuiltInNames{builtInShaderName, L"-frame-buffer-image-", L"-default-line-"}, frameBuffers),
      builtInVertexSource(vertexSource),
      builtInFragmentSource(fragmentSource) {}

bool GLESDrawer::isSupported() {
  return isSupported(reinterpret_cast<const char *>(glGetString(GL_VERSION)),
                     reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS)));
}

bool GLESDrawer::isSupported(const char *version, const char *extensions) {
  if (!version || !extensions) return false;
  const GLVersion context = GLVersion::parse(version);
  // Each API names vertex array objects its own way; WebGL 1 offers OpenGL ES 2's.
  const char *vertexArrays = context.isES() ? "GL_OES_vertex_array_object" : "GL_ARB_vertex_array_object";
  return context.getNumber() >= 2.0 && listHolds(extensions, vertexArrays);
}

bool GLESDrawer::prepare() {
  if (preparation != Preparation::NotYet) return preparation == Preparation::Done;
  preparation = Preparation::Failed;
  gl->load();
  if (!gl->hasShaders() || !gl->hasBuffers() || !gl->hasVertexArrays()) return false;
  bool defaultBuilt = false, vertexColourBuilt = false, texturedBuilt = false, plainBuilt = false;
  const unsigned int defaultProgram =
      programs.build(builtInVertexSource, builtInFragmentSource, defaultShaderName, defaultBuilt);
  vertexColourProgram =
      programs.build(vertexColourVertexSource, vertexColourFragmentSource, L"-vertex-colour-shader-", vertexColourBuilt);
  // The cases of a program given in place of the built-in one are its own.
  const bool ownSources = builtInVertexSource == defaultVertexSource && builtInFragmentSource == defaultFragmentSource;
  if (ownSources && defaultBuilt) {
    texturedProgram = programs.build(builtInVertexSource, texturedFragmentSource, L"-textured-shader-", texturedBuilt);
    plainProgram = programs.build(builtInVertexSource, plainFragmentSource, L"-plain-shader-", plainBuilt);
  }
  if (!texturedBuilt || !plainBuilt) {
    for (unsigned int *variant : {&texturedProgram, &plainProgram}) {
      if (*variant != 0) gl->deleteProgram(*variant);
      *variant = 0;
    }
  }
  if (!defaultBuilt || !vertexColourBuilt) {
    for (unsigned int program : {defaultProgram, vertexColourProgram, texturedProgram, plainProgram})
      if (program != 0) gl->deleteProgram(program);
    vertexColourProgram = texturedProgram = plainProgram = 0;
    // The empty name stays legal for useShader; nothing draws.
    programs.addEmpty(defaultShaderName);
    return false;
  }
  programs.add(defaultShaderName, defaultProgram);
  preparation = Preparation::Done;
  return true;
}

void GLESDrawer::prepareDrawing() {
  if (!prepare()) return;
  useShader(std::wstring());
  // Rectangles and lines: positions and texture coordinates alike run 0 to 1.
  const float quad[8] = {0, 0, 0, 1, 1, 0, 1, 1};
  createVertexArray(unitQuad, unitQuadBuffer, quad, sizeof quad, Layout{8, 0, 0, -1});
  createVertexArray(streamArray, streamBuffer, nullptr, 0,
                    Layout{sizeof(QuadVertex), offsetof(QuadVertex, texCoord), offsetof(QuadVertex, secondTexCoord),
                           offsetof(QuadVertex, colour)});
}

void GLESDrawer::createVertexArray(unsigned int &vertexArray, unsigned int &buffer, const float *data, size_t bytes,
                                   const Layout &layout) {
  gl->genVertexArrays(1, &vertexArray);
  bindVertexArray(vertexArray);
  gl->genBuffers(1, &buffer);
  gl->bindBuffer(GL_ARRAY_BUFFER, buffer);
  if (bytes > 0) gl->bufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), data, GL_DYNAMIC_DRAW);
  const auto attribute = [&](Attribute index, int size, int offset) {
    gl->vertexAttribPointer(index, size, GL_FLOAT, GL_FALSE, layout.stride,
                            reinterpret_cast<const void *>(static_cast<uintptr_t>(offset)));
    gl->enableVertexAttribArray(index);
  };
  attribute(VertexPosition, 2, 0);
  attribute(BaseTexCoords, 2, layout.texCoord);
  attribute(SecondTexCoords, 2, layout.secondTexCoord);
  if (layout.colour >= 0) attribute(VertexColour, 4, layout.colour);
  bindVertexArray(0);
  gl->bindBuffer(GL_ARRAY_BUFFER, 0);
}

void GLESDrawer::deleteVertexArray(unsigned int &vertexArray, unsigned int &buffer) {
  if (vertexArray != 0) {
    gl->deleteVertexArrays(1, &vertexArray);
    // Deleting the bound array binds none.
    if (currentVertexArray == vertexArray) currentVertexArray = 0;
  }
  if (buffer != 0) gl->deleteBuffers(1, &buffer);
  vertexArray = 0;
  buffer = 0;
}

void GLESDrawer::bindVertexArray(unsigned int vertexArray) {
  if (vertexArray == currentVertexArray) return;
  gl->bindVertexArray(vertexArray);
  currentVertexArray = vertexArray;
}

void GLESDrawer::imageRegistered(GLImage &record) {
  if (preparation != Preparation::Done) return;
  const TwoFloats &size = record.image.size, &o = record.image.texCoordOrigin, &e = record.image.texCoordSize;
  // A strip of four vertices (x, y, u, v).
  const float quad[16] = {0,      0,      o.x,       o.y,        //
                          0,      size.y, o.x,       o.y + e.y,  //
                          size.x, 0,      o.x + e.x, o.y,        //
                          size.x, size.y, o.x + e.x, o.y + e.y};
  // Both images' coordinates are the image's own.
  createVertexArray(record.vertexArray, record.vertexBuffer, quad, sizeof quad, Layout{16, 8, 8, -1});
}

void GLESDrawer::imageReleased(GLImage &record) { deleteVertexArray(record.vertexArray, record.vertexBuffer); }

void GLESDrawer::programLinking(unsigned int program) {
  gl->bindAttribLocation(program, vertexPositionLocation, "pxuVertexPosition");
  gl->bindAttribLocation(program, baseTexCoordsLocation, "pxuBaseTexCoords");
  gl->bindAttribLocation(program, secondTexCoordsLocation, "pxuSecondTexCoords");
  gl->bindAttribLocation(program, VertexColour, "pxuVertexColour");
}

void GLESDrawer::useShader(const std::wstring &name) {
  programs.use(name.empty() ? defaultShaderName : name);
  programs.requireLoaded();
  activateProgram(programs.inUse().program);
}

void GLESDrawer::activateProgram(unsigned int program) {
  if (preparation != Preparation::Done) return;
  // A caller's program that did not link cannot be used: the one in use
  // before draws on, with its own uniforms.
  GLint linked = GL_FALSE;
  gl->getProgramiv(program, GL_LINK_STATUS, &linked);
  if (linked != GL_TRUE) return;
  gl->useProgram(program);
  activeProgram = program;
  // Uniforms belong to their program: a caller's program has its own.
  projectionLocation = gl->getUniformLocation(program, "pxuProjectionMatrix");
  modelviewLocation = gl->getUniformLocation(program, "pxuModelviewMatrix");
  colourLocation = gl->getUniformLocation(program, "pxuColour");
  baseTextureLocation = gl->getUniformLocation(program, "pxuBaseTexture");
  secondTextureLocation = gl->getUniformLocation(program, "pxuSecondTexture");
  textureExistsLocation = gl->getUniformLocation(program, "pxuTextureExists");
  gl->uniform1i(baseTextureLocation, 0);
  gl->uniform1i(secondTextureLocation, 1);
  textureExists = -1.0f;
  uploadProjection();
}

void GLESDrawer::uploadModelview() { gl->uniformMatrix4fv(modelviewLocation, 1, GL_FALSE, modelview.getElements()); }

void GLESDrawer::uploadProjection() {
  if (preparation == Preparation::Done) gl->uniformMatrix4fv(projectionLocation, 1, GL_FALSE, projection.getElements());
}

void GLESDrawer::setProjection(const TwoFloats &size, bool yUp) {
  projection.generateOrthoProjection(0.0f, size.x, yUp ? 0.0f : size.y, yUp ? size.y : 0.0f);
  uploadProjection();
}

// The model-view goes to the program with each draw.
void GLESDrawer::resetTransform() { modelview.identity(); }

void GLESDrawer::texturingChanged(bool textured) {
  if (preparation == Preparation::Done && programs.currentName() == defaultShaderName && texturedProgram != 0) {
    const unsigned int variant = textured ? texturedProgram : plainProgram;
    if (activeProgram != variant) activateProgram(variant);
  }
  setTextureExists(textured);
}

void GLESDrawer::setTextureExists(bool textured) {
  const float value = textured ? 1.0f : 0.0f;
  if (value == textureExists || preparation != Preparation::Done) return;
  gl->uniform1f(textureExistsLocation, value);
  textureExists = value;
}

void GLESDrawer::forgetBindings() {
  GLDrawerBase::forgetBindings();
  currentVertexArray = unknownVertexArray;
}

void GLESDrawer::endDrawing() {
  GLDrawerBase::endDrawing();
  modelview.clear();
}

void GLESDrawer::translate(const TwoFloats &offset) { modelview.translate(offset.x, offset.y, 0.0f); }

void GLESDrawer::setColour(const ThreeFloats &colour, float alpha) {
  gl->uniform4f(colourLocation, colour.x, colour.y, colour.z, alpha);
}

void GLESDrawer::drawPushedStrip(unsigned int vertexArray, const ThreeFloats &colour, float alpha) {
  uploadModelview();
  bindVertexArray(vertexArray);
  setColour(colour, alpha);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  modelview.pop();
}

void GLESDrawer::drawPushedImage(const GLImage &image, const ThreeFloats &colour, float alpha) {
  const GLImage &second = bindForImageDraw(image, false);
  drawPushedStrip(image.vertexArray, colour, alpha);
  finishImageDraw(image, second, false);
}

void GLESDrawer::drawImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &scale,
                           const ThreeFloats &colour, float alpha) {
  const GLImage &image = lookUpImage(name);
  // Unregistered names, and images made before the programs, have no quad.
  if (image.vertexArray == 0) return;
  modelview.push();
  modelview.translate(position.x, position.y, 0.0f);
  modelview.scale(scale.x, scale.y, 1.0f);
  drawPushedImage(image, colour, alpha);
}

void GLESDrawer::drawRotImage(const std::wstring &name, const TwoFloats &position, float angle, const TwoFloats &pivot,
                              const TwoFloats &scale, const ThreeFloats &colour, float alpha) {
  const GLImage &image = lookUpImage(name);
  if (image.vertexArray == 0) return;
  modelview.push();
  modelview.translate(position.x, position.y, 0.0f);
  modelview.scale(scale.x, scale.y, 1.0f);
  modelview.translate(pivot.x, pivot.y, 0.0f);
  // Radians; with y down a positive angle turns clockwise on the screen.
  modelview.rotate(angle, 0.0f, 0.0f, 1.0f);
  modelview.translate(-pivot.x, -pivot.y, 0.0f);
  drawPushedImage(image, colour, alpha);
}

void GLESDrawer::fillRect(const TwoFloats &position, const TwoFloats &size, const ThreeFloats &colour, float alpha) {
  if (unitQuad == 0) return;
  bindBaseTexture(0);
  const OpaqueFill opaque(*this, alpha);
  modelview.push();
  modelview.translate(position.x, position.y, 0.0f);
  modelview.scale(size.x, size.y, 1.0f);
  drawPushedStrip(unitQuad, colour, alpha);
}

void GLESDrawer::drawLine(const std::wstring &lineImage, const TwoFloats &start, const TwoFloats &end,
                          const ThreeFloats &colour, float alpha) {
  const TwoFloats d = end - start;
  const float length = std::sqrt(d.x * d.x + d.y * d.y);
  // A line without a direction has no sides.
  if (!(length > 0.0f) || unitQuad == 0) return;
  bindBaseTexture(lookUpLineImage(lineImage).texture);
  // The unit quad's u runs across the line from start + o to start - o, its
  // v along it from start to end, over the whole texture.
  const TwoFloats o(-d.y / length * 4.0f, d.x / length * 4.0f);
  modelview.push();
  modelview.translate(start.x + o.x, start.y + o.y, 0.0f);
  modelview.rotate(std::atan2(-d.x, d.y), 0.0f, 0.0f, 1.0f);
  modelview.scale(8.0f, length, 1.0f);
  drawPushedStrip(unitQuad, colour, alpha);
}

void GLESDrawer::drawQuads(const QuadVertex *vertices, size_t count, bool vertexColours) {
  if (streamArray == 0 || count < 4) return;
  triangles.clear();
  for (size_t q = 0; q + 4 <= count; q += 4) {
    const QuadVertex *v = vertices + q;
    triangles.insert(triangles.end(), {v[0], v[1], v[2], v[0], v[2], v[3]});
  }
  const bool ownProgram = vertexColours && programs.currentName() == defaultShaderName;
  // A program just chosen knows nothing of the texture bound before it.
  if (ownProgram) {
    activateProgram(vertexColourProgram);
    setTextureExists(currentTexture != 0);
  } else {
    texturingChanged(currentTexture != 0);
  }
  uploadModelview();
  if (vertexColours)
    setColour(ThreeFloats(1.0f, 1.0f, 1.0f), 1.0f);
  else
    setColour(vertices[0].colour, vertices[0].alpha);
  bindVertexArray(streamArray);
  gl->bindBuffer(GL_ARRAY_BUFFER, streamBuffer);
  gl->bufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(triangles.size() * sizeof(QuadVertex)), triangles.data(),
                 GL_STREAM_DRAW);
  gl->bindBuffer(GL_ARRAY_BUFFER, 0);
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(triangles.size()));
  if (ownProgram) activateProgram(programs.inUse().program);
}
