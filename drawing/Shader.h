#pragma once

#include <string>

// A shader program's description: its name and GLSL sources. Compiled by the
// drawer's loadShader when the loading screen reaches it.
class Shader {
 public:
  Shader(const std::wstring &vertexSource, const std::wstring &fragmentSource, const std::wstring &name)
      : vertexSource(vertexSource), fragmentSource(fragmentSource), name(name) {}

  const std::wstring &getVertexSource() const { return vertexSource; }
  const std::wstring &getFragmentSource() const { return fragmentSource; }
  const std::wstring &getName() const { return name; }

 private:
  std::wstring vertexSource;
  std::wstring fragmentSource;
  std::wstring name;
};
