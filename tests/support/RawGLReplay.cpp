#include "support/RawGLReplay.h"

#include "framework/drawing/ImageLoader.h"
#include "game/Circle.h"

#include <GL/gl.h>

#include <memory>
#include <vector>

RawGLReplay::RawGLReplay(int width, int height) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, width, height, 0.0, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);

  const Circle circle;
  const ImageLoader::ImageData image =
      ImageLoader().loadImage(reinterpret_cast<const char *>(circle.imageData), circle.imageDataSize);
  const std::unique_ptr<unsigned char[]> pixels(image.data);
  discWidth = static_cast<float>(image.width);
  discHeight = static_cast<float>(image.height);
  glGenTextures(1, &disc);
  glBindTexture(GL_TEXTURE_2D, disc);
  // A power of two on both sides, and white: kept as grey and alpha, as
  // the drawers keep it.
  const size_t pixelCount = static_cast<size_t>(image.width) * image.height;
  std::vector<unsigned char> greyAlpha(pixelCount * 2);
  for (size_t i = 0; i < pixelCount; ++i) {
    greyAlpha[2 * i] = pixels[4 * i];
    greyAlpha[2 * i + 1] = pixels[4 * i + 3];
  }
  glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE8_ALPHA8, image.width, image.height, 0, GL_LUMINANCE_ALPHA,
               GL_UNSIGNED_BYTE, greyAlpha.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

RawGLReplay::~RawGLReplay() { glDeleteTextures(1, &disc); }

bool RawGLReplay::draw(const std::vector<RecordingDrawer::Call> &calls) {
  for (const RecordingDrawer::Call &call : calls) {
    const bool known = call.operation == "fillRect" || (call.operation == "drawImage" && call.name == L"Circle");
    if (!known) return false;
  }
  glClear(GL_COLOR_BUFFER_BIT);
  glBindTexture(GL_TEXTURE_2D, disc);
  bool textured = false, blending = true;
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  for (const RecordingDrawer::Call &call : calls) {
    const bool image = call.operation == "drawImage";
    if (image != textured) {
      if (image)
        glEnable(GL_TEXTURE_2D);
      else
        glDisable(GL_TEXTURE_2D);
      textured = image;
    }
    const float x = call.position.x, y = call.position.y;
    // fillRect records its size, drawImage the scale of the disc.
    const float w = image ? discWidth * call.size.x : call.size.x;
    const float h = image ? discHeight * call.size.y : call.size.y;
    // An opaque colour needs no blending.
    const bool blended = image || call.alpha != 1.0f;
    if (blended != blending) {
      if (blended)
        glEnable(GL_BLEND);
      else
        glDisable(GL_BLEND);
      blending = blended;
    }
    glColor4f(call.colour.x, call.colour.y, call.colour.z, call.alpha);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(x, y);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(x + w, y);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(x + w, y + h);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(x, y + h);
    glEnd();
  }
  return true;
}
