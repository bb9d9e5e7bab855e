#include "framework/drawing/GLEntryPoints.h"

#include <SDL.h>

namespace {

template <typename Function>
void fetch(Function &out, const char *name, const char *alternative = nullptr) {
  void *address = SDL_GL_GetProcAddress(name);
  if (!address && alternative) address = SDL_GL_GetProcAddress(alternative);
  out = reinterpret_cast<Function>(address);
}

}  // namespace

void GLEntryPoints::load() {
  version = GLVersion::ofCurrentContext();
  fetch(shadeModel, "glShadeModel");
  fetch(drawBuffer, "glDrawBuffer");

  fetch(genFramebuffers, "glGenFramebuffers", "glGenFramebuffersEXT");
  fetch(deleteFramebuffers, "glDeleteFramebuffers", "glDeleteFramebuffersEXT");
  fetch(bindFramebuffer, "glBindFramebuffer", "glBindFramebufferEXT");
  fetch(framebufferTexture2D, "glFramebufferTexture2D", "glFramebufferTexture2DEXT");
  fetch(framebufferRenderbuffer, "glFramebufferRenderbuffer", "glFramebufferRenderbufferEXT");
  fetch(checkFramebufferStatus, "glCheckFramebufferStatus", "glCheckFramebufferStatusEXT");
  fetch(genRenderbuffers, "glGenRenderbuffers", "glGenRenderbuffersEXT");
  fetch(deleteRenderbuffers, "glDeleteRenderbuffers", "glDeleteRenderbuffersEXT");
  fetch(bindRenderbuffer, "glBindRenderbuffer", "glBindRenderbufferEXT");
  fetch(renderbufferStorage, "glRenderbufferStorage", "glRenderbufferStorageEXT");

  fetch(createShader, "glCreateShader");
  fetch(shaderSource, "glShaderSource");
  fetch(compileShader, "glCompileShader");
  fetch(getShaderiv, "glGetShaderiv");
  fetch(getShaderInfoLog, "glGetShaderInfoLog");
  fetch(deleteShader, "glDeleteShader");
  fetch(createProgram, "glCreateProgram");
  fetch(attachShader, "glAttachShader");
  fetch(linkProgram, "glLinkProgram");
  fetch(getProgramiv, "glGetProgramiv");
  fetch(getProgramInfoLog, "glGetProgramInfoLog");
  fetch(deleteProgram, "glDeleteProgram");
  fetch(useProgram, "glUseProgram");
  fetch(getUniformLocation, "glGetUniformLocation");
  fetch(uniform1i, "glUniform1i");
  fetch(uniform1f, "glUniform1f");
  fetch(uniform4f, "glUniform4f");
  fetch(uniformMatrix4fv, "glUniformMatrix4fv");
  fetch(getAttribLocation, "glGetAttribLocation");
  fetch(bindAttribLocation, "glBindAttribLocation");
  fetch(vertexAttribPointer, "glVertexAttribPointer");
  fetch(enableVertexAttribArray, "glEnableVertexAttribArray");
  fetch(disableVertexAttribArray, "glDisableVertexAttribArray");

  fetch(activeTexture, "glActiveTexture", "glActiveTextureARB");
  fetch(multiTexCoord2f, "glMultiTexCoord2f", "glMultiTexCoord2fARB");
  fetch(blendEquation, "glBlendEquation", "glBlendEquationEXT");

  fetch(genBuffers, "glGenBuffers", "glGenBuffersARB");
  fetch(deleteBuffers, "glDeleteBuffers", "glDeleteBuffersARB");
  fetch(bindBuffer, "glBindBuffer", "glBindBufferARB");
  fetch(bufferData, "glBufferData", "glBufferDataARB");
  fetch(bufferSubData, "glBufferSubData", "glBufferSubDataARB");

  fetch(genVertexArrays, "glGenVertexArrays");
  fetch(bindVertexArray, "glBindVertexArray");
  fetch(deleteVertexArrays, "glDeleteVertexArrays");
}

bool GLEntryPoints::hasFrameBuffers() const {
  return genFramebuffers && bindFramebuffer && framebufferTexture2D && framebufferRenderbuffer &&
         checkFramebufferStatus && genRenderbuffers && bindRenderbuffer && renderbufferStorage;
}

bool GLEntryPoints::hasShaders() const {
  return createShader && shaderSource && compileShader && getShaderiv && createProgram && attachShader && linkProgram &&
         getProgramiv && deleteProgram && useProgram && getUniformLocation && uniform1i && uniform1f;
}

bool GLEntryPoints::hasMultiTexture() const { return activeTexture && multiTexCoord2f; }

bool GLEntryPoints::hasBuffers() const { return genBuffers && deleteBuffers && bindBuffer && bufferData; }

bool GLEntryPoints::hasVertexArrays() const {
  return uniform4f && uniformMatrix4fv && genVertexArrays && bindVertexArray && deleteVertexArrays &&
         vertexAttribPointer && enableVertexAttribArray && bindAttribLocation;
}
