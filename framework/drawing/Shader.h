#pragma once

#include <string>

class FilePath;

// A shader program's description: its name and GLSL sources, kept by the
// resource manager until the loading screen hands it to the drawer's
// loadShader.
class Shader {
 public:
  explicit Shader(const std::wstring &name) : name(name) {}
  Shader(const std::wstring &vertexShader, const std::wstring &fragmentShader, const std::wstring &name)
      : name(name), vertexShader(vertexShader), fragmentShader(fragmentShader) {}
  virtual ~Shader() = default;

  void setVertexShader(const std::wstring &source) { vertexShader = source; }
  void setFragmentShader(const std::wstring &source) { fragmentShader = source; }

  const std::wstring &getVertexSource() const { return vertexShader; }
  const std::wstring &getFragmentSource() const { return fragmentShader; }
  const std::wstring &getName() const { return name; }

  // Replaces text with the UTF-8 text file's lines, each ending in a line
  // feed; false (text empty) when the file cannot be read.
  static bool loadShaderFile(const FilePath &file, std::wstring &text);

 private:
  std::wstring name;
  std::wstring vertexShader;
  std::wstring fragmentShader;
};
