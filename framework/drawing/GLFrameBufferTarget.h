#pragma once

#include "base/TwoFloats.h"

#include <string>

struct GLEntryPoints;
class GLTextureStore;

// The frame buffer a drawer draws into between startFrameBufferDrawing and
// endFrameBufferDrawing, its colour a texture registered as an image. Its
// buffers start at one pixel and get the drawing area's size on first use:
// a game that never draws into them is spared 7 MiB at 1280 x 720. Until
// then the image is one transparent pixel.
// Main (OpenGL) thread only.
class GLFrameBufferTarget final {
 public:
  GLFrameBufferTarget(const GLEntryPoints &gl, GLTextureStore &textures);

  GLFrameBufferTarget(const GLFrameBufferTarget &) = delete;
  GLFrameBufferTarget &operator=(const GLFrameBufferTarget &) = delete;

  // Makes the frame buffer, its image registered under imageName at the
  // drawing area's size.
  void create(const std::wstring &imageName, const TwoFloats &areaSize);
  bool exists() const { return frameBuffer != 0; }
  // Draws into it from now, sized to the area, over all of it.
  void bind(const TwoFloats &areaSize);
  // Draws into the window again.
  void unbind();

 private:
  const GLEntryPoints &gl;
  GLTextureStore &textures;
  // 0 while there is none.
  unsigned int frameBuffer = 0;
  unsigned int texture = 0;
  unsigned int depth = 0;
  bool sized = false;
};
