#pragma once

#include "framework/drawing/GLDrawerBase.h"

#include <string>

// The fixed-function OpenGL drawer: every primitive one immediate-mode quad,
// the fixed matrix stack for translation and the projection, texture unit 1
// for the second image. Textures, images, fonts, shaders and the frame
// buffer are the shared machinery of GLDrawerBase.
// Main (OpenGL) thread only.
class GLImmediateDrawer final : public GLDrawerBase {
 public:
  typedef GLImage ImmediateImage;

  explicit GLImmediateDrawer(FrameBuffers frameBuffers = FrameBuffers::IfAvailable);

  void useShader(const std::wstring &name) override;
  void drawImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &scale, const ThreeFloats &colour,
                 float alpha) override;
  void drawRotImage(const std::wstring &name, const TwoFloats &position, float angle, const TwoFloats &pivot,
                    const TwoFloats &scale, const ThreeFloats &colour, float alpha) override;
  void drawLine(const std::wstring &lineImage, const TwoFloats &start, const TwoFloats &end, const ThreeFloats &colour,
                float alpha) override;
  void fillRect(const TwoFloats &position, const TwoFloats &size, const ThreeFloats &colour, float alpha) override;
  void translate(const TwoFloats &offset) override;

 private:
  void prepareDrawing() override;
  void setProjection(const TwoFloats &size, bool yUp) override;
  void resetTransform() override;
  void drawQuads(const QuadVertex *vertices, size_t count, bool vertexColours) override;
  void texturingChanged(bool textured) override;
  void forgetBindings() override;

  // Whether texturing is on for unit 0: 1, 0, or -1 for not known.
  int texturing = -1;
};
