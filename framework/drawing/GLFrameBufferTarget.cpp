#include "framework/drawing/GLFrameBufferTarget.h"

#include "framework/drawing/GLEntryPoints.h"
#include "framework/drawing/GLTextureStore.h"

GLFrameBufferTarget::GLFrameBufferTarget(const GLEntryPoints &gl, GLTextureStore &textures)
    : gl(gl), textures(textures) {}

void GLFrameBufferTarget::create(const std::wstring &imageName, const TwoFloats &areaSize) {
  gl.genFramebuffers(1, &frameBuffer);
  gl.bindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
  gl.genRenderbuffers(1, &depth);
  gl.bindRenderbuffer(GL_RENDERBUFFER, depth);
  gl.renderbufferStorage(GL_RENDERBUFFER, gl.internalFormat(GL_DEPTH_COMPONENT, GL_DEPTH_COMPONENT16), 1, 1);
  gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);

  glGenTextures(1, &texture);
  textures.bind(0, texture);
  const unsigned char transparent[4] = {0, 0, 0, 0};
  glTexImage2D(GL_TEXTURE_2D, 0, gl.internalFormat(GL_RGBA8, GL_RGBA), 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               transparent);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  gl.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);

  GLTextureStore::GLImage record;
  record.image.size = areaSize;
  record.image.texCoordSize = TwoFloats(1.0f, 1.0f);
  record.texture = texture;
  textures.add(imageName, record);
  sized = false;

  textures.bind(0, 0);
  gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
}

void GLFrameBufferTarget::bind(const TwoFloats &areaSize) {
  gl.bindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
  const int width = static_cast<int>(areaSize.x);
  const int height = static_cast<int>(areaSize.y);
  if (!sized) {
    gl.bindRenderbuffer(GL_RENDERBUFFER, depth);
    gl.renderbufferStorage(GL_RENDERBUFFER, gl.internalFormat(GL_DEPTH_COMPONENT, GL_DEPTH_COMPONENT16), width,
                           height);
    textures.bind(0, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, gl.internalFormat(GL_RGBA8, GL_RGBA), width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 nullptr);
    sized = true;
    // Completeness is not acted on: an incomplete frame buffer draws nothing.
    gl.checkFramebufferStatus(GL_FRAMEBUFFER);
  }
  // OpenGL ES draws into the only attachment there is.
  if (gl.drawBuffer) gl.drawBuffer(GL_COLOR_ATTACHMENT0);
  glViewport(0, 0, width, height);
}

void GLFrameBufferTarget::unbind() { gl.bindFramebuffer(GL_FRAMEBUFFER, 0); }
