#include "drawing/GLImmediateDrawer.h"

#include "app/Assertion.h"
#include "drawing/GLEntryPoints.h"

#include <GL/glu.h>

#include <cmath>

namespace {

void vertex(const TwoFloats &p) { glVertex2f(p.x, p.y); }

}  // namespace

GLImmediateDrawer::GLImmediateDrawer(FrameBuffers frameBuffers)
    : GLDrawerBase(BuiltInNames{L"", L"frameBufferImage", L"lineDefault"}, frameBuffers) {
  // The empty name stands for no program.
  shaders[std::wstring()] = ShaderInternal();
}

void GLImmediateDrawer::setProjection(const TwoFloats &size, bool yUp) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluOrtho2D(0.0, size.x, yUp ? 0.0 : size.y, yUp ? size.y : 0.0);
  glMatrixMode(GL_MODELVIEW);
}

void GLImmediateDrawer::resetTransform() { glLoadIdentity(); }

void GLImmediateDrawer::useShader(const std::wstring &name) {
  currentShader = name;
  if (name.empty()) {
    if (gl->useProgram) gl->useProgram(0);
    return;
  }
  MW_ASSERT(shaders.find(currentShader) != shaders.end());
  gl->useProgram(shaders[currentShader].program);
}

void GLImmediateDrawer::drawImageQuad(const GLImage &image, const TwoFloats corners[4], const TwoFloats &subPosition,
                                      const TwoFloats &subSize, const ThreeFloats &colour, float alpha) {
  const GLImage &second = bindForImageDraw(image, false);
  const Drawer::Image &a = image.image;
  const Drawer::Image &b = second.image;
  const TwoFloats ao(a.texCoordOrigin.x + a.texCoordSize.x * subPosition.x,
                     a.texCoordOrigin.y + a.texCoordSize.y * subPosition.y);
  const TwoFloats ae(a.texCoordSize.x * subSize.x, a.texCoordSize.y * subSize.y);
  const TwoFloats bo(b.texCoordOrigin.x + b.texCoordSize.x * subPosition.x,
                     b.texCoordOrigin.y + b.texCoordSize.y * subPosition.y);
  const TwoFloats be(b.texCoordSize.x * subSize.x, b.texCoordSize.y * subSize.y);
  // Unit 1 coordinates only matter with a second image; without one they
  // would cost llvmpipe an interpolated attribute per pixel.
  const bool multi = &second != &blankImage;
  glColor4f(colour.x, colour.y, colour.z, alpha);
  glBegin(GL_QUADS);
  const float unit[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  for (int i = 0; i < 4; ++i) {
    const float u = unit[i][0], v = unit[i][1];
    glTexCoord2f(ao.x + ae.x * u, ao.y + ae.y * v);
    if (multi) gl->multiTexCoord2f(GL_TEXTURE1, bo.x + be.x * u, bo.y + be.y * v);
    vertex(corners[i]);
  }
  glEnd();
  finishImageDraw(image, second, false);
}

// The image draws place their corners here rather than through the matrix
// stack: the result is the same, and changing the model-view matrix for every
// quad costs llvmpipe about an eighth of a gameplay frame.
void GLImmediateDrawer::drawImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &scale,
                                  const ThreeFloats &colour, float alpha) {
  const GLImage &image = lookUpImage(name);
  const TwoFloats size(image.image.size.x * scale.x, image.image.size.y * scale.y);
  const TwoFloats corners[4] = {position, position + TwoFloats(size.x, 0.0f), position + size,
                                position + TwoFloats(0.0f, size.y)};
  drawImageQuad(image, corners, TwoFloats(0.0f, 0.0f), TwoFloats(1.0f, 1.0f), colour, alpha);
}

void GLImmediateDrawer::drawRotImage(const std::wstring &name, const TwoFloats &position, float angle,
                                     const TwoFloats &pivot, const TwoFloats &scale, const ThreeFloats &colour,
                                     float alpha) {
  const GLImage &image = lookUpImage(name);
  // Degrees; with y down a positive angle turns clockwise on the screen.
  const double radians = angle * 3.14159265358979323846 / 180.0;
  const float c = static_cast<float>(std::cos(radians)), s = static_cast<float>(std::sin(radians));
  const TwoFloats &size = image.image.size;
  const TwoFloats unturned[4] = {TwoFloats(0.0f, 0.0f), TwoFloats(size.x, 0.0f), size, TwoFloats(0.0f, size.y)};
  TwoFloats corners[4];
  for (int i = 0; i < 4; ++i) {
    const TwoFloats p = unturned[i] - pivot;
    const TwoFloats turned = pivot + TwoFloats(p.x * c - p.y * s, p.x * s + p.y * c);
    corners[i] = position + TwoFloats(turned.x * scale.x, turned.y * scale.y);
  }
  drawImageQuad(image, corners, TwoFloats(0.0f, 0.0f), TwoFloats(1.0f, 1.0f), colour, alpha);
}

void GLImmediateDrawer::drawSubImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &subPosition,
                                     const TwoFloats &subSize, const TwoFloats &scale, const ThreeFloats &colour,
                                     float alpha) {
  const GLImage &image = lookUpImage(name);
  const TwoFloats size(image.image.size.x * subSize.x * scale.x, image.image.size.y * subSize.y * scale.y);
  const TwoFloats corners[4] = {position, position + TwoFloats(size.x, 0.0f), position + size,
                                position + TwoFloats(0.0f, size.y)};
  drawImageQuad(image, corners, subPosition, subSize, colour, alpha);
}

void GLImmediateDrawer::drawTiledImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &size,
                                       const TwoFloats &tiles, const ThreeFloats &colour, float alpha) {
  const GLImage &image = lookUpImage(name);
  const GLImage &second = bindForImageDraw(image, true);
  const bool multi = &second != &blankImage;
  glColor4f(colour.x, colour.y, colour.z, alpha);
  glBegin(GL_QUADS);
  const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  for (const auto &c : corners) {
    glTexCoord2f(tiles.x * c[0], tiles.y * c[1]);
    if (multi) gl->multiTexCoord2f(GL_TEXTURE1, tiles.x * c[0], tiles.y * c[1]);
    glVertex2f(position.x + size.x * c[0], position.y + size.y * c[1]);
  }
  glEnd();
  finishImageDraw(image, second, true);
}

void GLImmediateDrawer::drawLine(const std::wstring &lineImage, const TwoFloats &start, const TwoFloats &end,
                                 const ThreeFloats &colour, float alpha) {
  const TwoFloats d = end - start;
  const float length = std::sqrt(d.x * d.x + d.y * d.y);
  // A line without a direction has no sides.
  if (!(length > 0.0f)) return;
  const TwoFloats o(-d.y / length * 4.0f, d.x / length * 4.0f);
  bindBaseTexture(lookUpLineImage(lineImage).texture);
  glColor4f(colour.x, colour.y, colour.z, alpha);
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 0.0f);
  vertex(start + o);
  glTexCoord2f(0.0f, 1.0f);
  vertex(end + o);
  glTexCoord2f(1.0f, 1.0f);
  vertex(end - o);
  glTexCoord2f(1.0f, 0.0f);
  vertex(start - o);
  glEnd();
}

void GLImmediateDrawer::drawConnectedLine(const std::wstring &lineImage, const std::vector<TwoFloats> &points,
                                          const std::vector<float> &widths, const std::vector<ThreeFloats> &colours,
                                          const std::vector<float> &alphas) {
  const size_t n = points.size();
  // Fewer than four points give no segment between two inner points.
  if (n < 4) return;
  MW_ASSERT(widths.size() >= n - 1 && colours.size() >= n - 1 && alphas.size() >= n - 1);
  bindBaseTexture(lookUpLineImage(lineImage).texture);
  TwoFloats m0 = TwoFloats(points[1].y - points[0].y, -(points[1].x - points[0].x)).normal();
  glBegin(GL_QUADS);
  for (size_t i = 1; i < n - 2; ++i) {
    const TwoFloats &a = points[i], &b = points[i + 1], &c = points[i + 2];
    const TwoFloats m1 = TwoFloats(c.y - b.y, -(c.x - b.x)).normal();
    // Skips a segment whose ends would turn the quad inside out.
    if (std::fabs(std::atan2(m1.x - m0.x, m1.y - m0.y)) < 3.141592f) {
      const ThreeFloats &ca = colours[i], &cb = colours[i + 1];
      glColor4f(ca.x, ca.y, ca.z, alphas[i]);
      glTexCoord2f(0.0f, 0.0f);
      vertex(a - m0 * widths[i]);
      glColor4f(cb.x, cb.y, cb.z, alphas[i + 1]);
      glTexCoord2f(0.0f, 1.0f);
      vertex(b - m1 * widths[i + 1]);
      glTexCoord2f(1.0f, 1.0f);
      vertex(b + m1 * widths[i + 1]);
      glColor4f(ca.x, ca.y, ca.z, alphas[i]);
      glTexCoord2f(1.0f, 0.0f);
      vertex(a + m0 * widths[i]);
    }
    m0 = m1;
  }
  glEnd();
}

void GLImmediateDrawer::fillRect(const TwoFloats &position, const TwoFloats &size, const ThreeFloats &colour,
                                 float alpha) {
  bindBaseTexture(0);
  glColor4f(colour.x, colour.y, colour.z, alpha);
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 0.0f);
  vertex(position);
  glTexCoord2f(1.0f, 0.0f);
  vertex(position + TwoFloats(size.x, 0.0f));
  glTexCoord2f(1.0f, 1.0f);
  vertex(position + size);
  glTexCoord2f(0.0f, 1.0f);
  vertex(position + TwoFloats(0.0f, size.y));
  glEnd();
}

void GLImmediateDrawer::fillGradient(const TwoFloats &position, const TwoFloats &size, const ThreeFloats &topColour,
                                     const ThreeFloats &bottomColour, float topAlpha, float bottomAlpha) {
  bindBaseTexture(0);
  glBegin(GL_QUADS);
  glColor4f(topColour.x, topColour.y, topColour.z, topAlpha);
  vertex(position);
  vertex(position + TwoFloats(size.x, 0.0f));
  glColor4f(bottomColour.x, bottomColour.y, bottomColour.z, bottomAlpha);
  vertex(position + size);
  vertex(position + TwoFloats(0.0f, size.y));
  glEnd();
}

void GLImmediateDrawer::translate(const TwoFloats &offset) { glTranslatef(offset.x, offset.y, 0.0f); }
