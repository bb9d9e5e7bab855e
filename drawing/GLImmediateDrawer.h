#pragma once

#include "drawing/GLDrawerBase.h"

#include <string>
#include <vector>

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
  void drawSubImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &subPosition,
                    const TwoFloats &subSize, const TwoFloats &scale, const ThreeFloats &colour, float alpha) override;
  void drawTiledImage(const std::wstring &name, const TwoFloats &position, const TwoFloats &size,
                      const TwoFloats &tiles, const ThreeFloats &colour, float alpha) override;
  void drawLine(const std::wstring &lineImage, const TwoFloats &start, const TwoFloats &end, const ThreeFloats &colour,
                float alpha) override;
  void drawConnectedLine(const std::wstring &lineImage, const std::vector<TwoFloats> &points,
                         const std::vector<float> &widths, const std::vector<ThreeFloats> &colours,
                         const std::vector<float> &alphas) override;
  void fillRect(const TwoFloats &position, const TwoFloats &size, const ThreeFloats &colour, float alpha) override;
  void fillGradient(const TwoFloats &position, const TwoFloats &size, const ThreeFloats &topColour,
                    const ThreeFloats &bottomColour, float topAlpha, float bottomAlpha) override;
  void translate(const TwoFloats &offset) override;

 private:
  void setProjection(const TwoFloats &size, bool yUp) override;
  void resetTransform() override;
  // corners: top left, top right, bottom right, bottom left.
  void drawImageQuad(const GLImage &image, const TwoFloats corners[4], const TwoFloats &subPosition,
                     const TwoFloats &subSize, const ThreeFloats &colour, float alpha);
};
