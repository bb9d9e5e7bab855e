#include "framework/drawing/Shader.h"

#include "base/UTF8File.h"

bool Shader::loadShaderFile(const FilePath &file, std::wstring &text) {
  UTF8File source(file);
  source.readFile(text, true);
  return !source.hasFailed();
}
