#pragma once

#include "framework/drawing/GLVersion.h"

#include <GL/gl.h>
#include <GL/glext.h>

// Every OpenGL entry point beyond OpenGL 1.1 the drawers use, fetched with
// SDL_GL_GetProcAddress rather than linked. SDL 1.2 (sdl12-compat) scales a
// full-screen OpenGL window through a frame buffer of its own and only sees
// frame-buffer bindings made through the pointers it hands out; binding
// frame buffer 0 directly would show a black screen.
// load() needs a current OpenGL context; an entry point the context lacks
// stays null. The two of OpenGL 1.x that OpenGL ES lacks are fetched too, so
// that a build for WebGL, which has no such functions to link, leaves them null.
struct GLEntryPoints {
  // gl.h declares the OpenGL 1.3 prototypes itself and glext.h then skips this type.
  typedef void(APIENTRYP MultiTexCoord2fFunction)(GLenum target, GLfloat s, GLfloat t);
  typedef void(APIENTRYP ShadeModelFunction)(GLenum mode);
  typedef void(APIENTRYP DrawBufferFunction)(GLenum buffer);

  // Core names first, then the EXT/ARB spelling of the same function; and
  // the context's version.
  void load();

  GLVersion version;
  ShadeModelFunction shadeModel = nullptr;
  DrawBufferFunction drawBuffer = nullptr;

  bool hasFrameBuffers() const;
  bool hasShaders() const;
  bool hasMultiTexture() const;
  bool hasBuffers() const;
  // The GL_ARB_vertex_array_object entry points, with the attribute arrays
  // they hold.
  bool hasVertexArrays() const;
  // An internal format: desktop OpenGL's sized one, or the unsized one
  // OpenGL ES 2 (and so WebGL 1) insists on.
  GLenum internalFormat(GLenum desktop, GLenum es) const { return version.isES() ? es : desktop; }

  PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
  PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
  PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
  PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;

  PFNGLCREATESHADERPROC createShader = nullptr;
  PFNGLSHADERSOURCEPROC shaderSource = nullptr;
  PFNGLCOMPILESHADERPROC compileShader = nullptr;
  PFNGLGETSHADERIVPROC getShaderiv = nullptr;
  PFNGLGETSHADERINFOLOGPROC getShaderInfoLog = nullptr;
  PFNGLDELETESHADERPROC deleteShader = nullptr;
  PFNGLCREATEPROGRAMPROC createProgram = nullptr;
  PFNGLATTACHSHADERPROC attachShader = nullptr;
  PFNGLLINKPROGRAMPROC linkProgram = nullptr;
  PFNGLGETPROGRAMIVPROC getProgramiv = nullptr;
  PFNGLGETPROGRAMINFOLOGPROC getProgramInfoLog = nullptr;
  PFNGLDELETEPROGRAMPROC deleteProgram = nullptr;
  PFNGLUSEPROGRAMPROC useProgram = nullptr;
  PFNGLGETUNIFORMLOCATIONPROC getUniformLocation = nullptr;
  PFNGLUNIFORM1IPROC uniform1i = nullptr;
  PFNGLUNIFORM1FPROC uniform1f = nullptr;
  PFNGLUNIFORM4FPROC uniform4f = nullptr;
  PFNGLUNIFORMMATRIX4FVPROC uniformMatrix4fv = nullptr;
  PFNGLGETATTRIBLOCATIONPROC getAttribLocation = nullptr;
  PFNGLBINDATTRIBLOCATIONPROC bindAttribLocation = nullptr;
  PFNGLVERTEXATTRIBPOINTERPROC vertexAttribPointer = nullptr;
  PFNGLENABLEVERTEXATTRIBARRAYPROC enableVertexAttribArray = nullptr;
  PFNGLDISABLEVERTEXATTRIBARRAYPROC disableVertexAttribArray = nullptr;

  PFNGLACTIVETEXTUREPROC activeTexture = nullptr;
  MultiTexCoord2fFunction multiTexCoord2f = nullptr;
  PFNGLBLENDEQUATIONPROC blendEquation = nullptr;

  PFNGLGENBUFFERSPROC genBuffers = nullptr;
  PFNGLDELETEBUFFERSPROC deleteBuffers = nullptr;
  PFNGLBINDBUFFERPROC bindBuffer = nullptr;
  PFNGLBUFFERDATAPROC bufferData = nullptr;
  PFNGLBUFFERSUBDATAPROC bufferSubData = nullptr;

  PFNGLGENVERTEXARRAYSPROC genVertexArrays = nullptr;
  PFNGLBINDVERTEXARRAYPROC bindVertexArray = nullptr;
  PFNGLDELETEVERTEXARRAYSPROC deleteVertexArrays = nullptr;
};
