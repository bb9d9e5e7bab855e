#include "platforms/desktop/drawing/GLImmediateDrawer.h"

#include "base/Assertion.h"
#include "framework/drawing/GLEntryPoints.h"

#include <GL/glu.h>

#include <cmath>

GLImmediateDrawer::GLImmediateDrawer(FrameBuffers frameBuffers)
    : GLDrawerBase(BuiltInNames{L"", L"frameBufferImage", L"lineDefault"}, frameBuffers) {
  // The empty name stands for no program.
  programs.addEmpty(std::wstring());
}

// A shader drawer that ran before in this context may have left its program
// in use, and fixed-function drawing would go through it. useShader calls
// glUseProgram only where the context provides it.
void GLImmediateDrawer::prepareDrawing() { useShader(std::wstring()); }

void GLImmediateDrawer::setProjection(const TwoFloats &size, bool yUp) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluOrtho2D(0.0, size.x, yUp ? 0.0 : size.y, yUp ? size.y : 0.0);
  glMatrixMode(GL_MODELVIEW);
}

void GLImmediateDrawer::resetTransform() { glLoadIdentity(); }

// Texturing with no texture bound still costs llvmpipe a texture fetch for
// every pixel of a rectangle; off, the fill is a plain colour.
void GLImmediateDrawer::texturingChanged(bool textured) {
  const int wanted = textured ? 1 : 0;
  if (texturing == wanted) return;
  if (gl->activeTexture) gl->activeTexture(GL_TEXTURE0);
  if (textured)
    glEnable(GL_TEXTURE_2D);
  else
    glDisable(GL_TEXTURE_2D);
  texturing = wanted;
}

void GLImmediateDrawer::forgetBindings() {
  GLDrawerBase::forgetBindings();
  texturing = -1;
}

void GLImmediateDrawer::useShader(const std::wstring &name) {
  programs.use(name);
  if (name.empty()) {
    if (gl->useProgram) gl->useProgram(0);
    return;
  }
  programs.requireLoaded();
  gl->useProgram(programs.inUse().program);
}

void GLImmediateDrawer::drawQuads(const QuadVertex *vertices, size_t count, bool vertexColours) {
  // Unit 1 coordinates only matter with a second image; without one they
  // would cost llvmpipe an interpolated attribute per pixel.
  const bool multi = secondImageBound;
  glColor4f(vertices[0].colour.x, vertices[0].colour.y, vertices[0].colour.z, vertices[0].alpha);
  glBegin(GL_QUADS);
  for (size_t i = 0; i < count; ++i) {
    const QuadVertex &v = vertices[i];
    if (vertexColours) glColor4f(v.colour.x, v.colour.y, v.colour.z, v.alpha);
    glTexCoord2f(v.texCoord.x, v.texCoord.y);
    if (multi) gl->multiTexCoord2f(GL_TEXTURE1, v.secondTexCoord.x, v.secondTexCoord.y);
    glVertex2f(v.position.x, v.position.y);
  }
  glEnd();
}

// The image draws place their corners here rather than through the matrix
// stack: the result is the same, and changing the model-view matrix for every
// quad costs llvmpipe about an eighth of a gameplay frame.
void GLImmediateDrawer::drawImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &scale,
                                  const ThreeFloats &colour, float alpha) {
  const GLImage &image = lookUpImage(name);
  TwoFloats corners[4];
  rectangleCorners(position, TwoFloats(image.image.size.x * scale.x, image.image.size.y * scale.y), corners);
  drawImageCorners(image, corners, TwoFloats(0.0f, 0.0f), TwoFloats(1.0f, 1.0f), colour, alpha);
}

void GLImmediateDrawer::drawRotImage(const std::wstring &name, const TwoFloats &position, float angle,
                                     const TwoFloats &pivot, const TwoFloats &scale, const ThreeFloats &colour,
                                     float alpha) {
  const GLImage &image = lookUpImage(name);
  // Degrees; with y down a positive angle turns clockwise on the screen.
  const double radians = angle * 3.14159265358979323846 / 180.0;
  const float c = static_cast<float>(std::cos(radians)), s = static_cast<float>(std::sin(radians));
  TwoFloats corners[4];
  rectangleCorners(TwoFloats(), image.image.size, corners);
  for (TwoFloats &corner : corners) {
    const TwoFloats p = corner - pivot;
    const TwoFloats turned = pivot + TwoFloats(p.x * c - p.y * s, p.x * s + p.y * c);
    corner = position + TwoFloats(turned.x * scale.x, turned.y * scale.y);
  }
  drawImageCorners(image, corners, TwoFloats(0.0f, 0.0f), TwoFloats(1.0f, 1.0f), colour, alpha);
}

void GLImmediateDrawer::drawLine(const std::wstring &lineImage, const TwoFloats &start, const TwoFloats &end,
                                 const ThreeFloats &colour, float alpha) {
  const TwoFloats d = end - start;
  const float length = std::sqrt(d.x * d.x + d.y * d.y);
  // A line without a direction has no sides.
  if (!(length > 0.0f)) return;
  const TwoFloats o(-d.y / length * 4.0f, d.x / length * 4.0f);
  bindBaseTexture(lookUpLineImage(lineImage).texture);
  // u runs across the line, v along it, over the whole texture.
  const TwoFloats corners[4] = {start + o, start - o, end - o, end + o};
  const TwoFloats whole(1.0f, 1.0f);
  QuadVertex quad[4];
  setQuad(quad, corners, TwoFloats(), whole, TwoFloats(), whole, colour, alpha);
  drawQuads(quad, 4, false);
}

void GLImmediateDrawer::fillRect(const TwoFloats &position, const TwoFloats &size, const ThreeFloats &colour,
                                 float alpha) {
  bindBaseTexture(0);
  const OpaqueFill opaque(*this, alpha);
  TwoFloats corners[4];
  rectangleCorners(position, size, corners);
  const TwoFloats whole(1.0f, 1.0f);
  QuadVertex quad[4];
  setQuad(quad, corners, TwoFloats(), whole, TwoFloats(), whole, colour, alpha);
  drawQuads(quad, 4, false);
}

void GLImmediateDrawer::translate(const TwoFloats &offset) { glTranslatef(offset.x, offset.y, 0.0f); }
