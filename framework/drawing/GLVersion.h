#pragma once

#include <string>

// What an OpenGL context's version string says, and the shading-language
// dialect that follows from it. A desktop string begins with the number
// ("2.1 Mesa 22.3.6"); an OpenGL ES one with "OpenGL ES", perhaps a profile,
// then the number ("OpenGL ES 2.0 (WebGL 1.0 ...)": every WebGL context is
// one). Numbers are read whatever the process locale says.
class GLVersion final {
 public:
  // Null or no number reads as version 0 of desktop OpenGL.
  static GLVersion parse(const char *versionString);
  // The context that is current now.
  static GLVersion ofCurrentContext();

  double getNumber() const { return number; }
  bool isES() const { return es; }

  // A program source written in desktop GLSL 1.20 (or with no version line)
  // as this context compiles it: unchanged on desktop OpenGL; on OpenGL ES,
  // GLSL ES 1.00: "#version 100", mat4 for mat4x4 (and the same for 2 and 3),
  // and in fragment shaders, which have no default float precision there,
  // "precision mediump float;".
  std::wstring shaderSource(const std::wstring &source, bool fragment) const;

 private:
  double number = 0.0;
  bool es = false;
};
