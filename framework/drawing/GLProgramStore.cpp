#include "framework/drawing/GLProgramStore.h"

#include "base/Assertion.h"
#include "base/UTF8File.h"
#include "framework/app/AppSettings.h"
#include "framework/drawing/GLEntryPoints.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

// The info log of a shader or program, without its closing line breaks.
template <typename GetParameter, typename GetLog>
std::string infoLog(GLuint object, GetParameter getParameter, GetLog getLog) {
  GLint length = 0;
  getParameter(object, GL_INFO_LOG_LENGTH, &length);
  if (length <= 0 || !getLog) return std::string();
  std::string log(static_cast<size_t>(length), '\0');
  GLsizei written = 0;
  getLog(object, length, &written, &log[0]);
  log.resize(static_cast<size_t>(std::max(written, 0)));
  while (!log.empty() && std::isspace(static_cast<unsigned char>(log.back()))) log.pop_back();
  return log;
}

// One report on standard error, then the log as the driver wrote it.
void reportShaderFailure(const std::wstring &name, const std::string &failure, const std::string &log) {
  std::string application, shader;
  UTF8File::wstringToChar(AppSettings::applicationName, application);
  UTF8File::wstringToChar(name, shader);
  std::fprintf(stderr, "%s: shader \"%s\": %s: %s\n", application.c_str(), shader.c_str(), failure.c_str(),
               log.empty() ? "the driver gives no log" : log.c_str());
}

}  // namespace

GLProgramStore::GLProgramStore(const GLEntryPoints &gl, const std::wstring &defaultName,
                               std::function<void(unsigned int)> linking)
    : gl(gl), defaultName(defaultName), linking(std::move(linking)), currentShader(defaultName) {}

unsigned int GLProgramStore::build(const std::wstring &vertexSource, const std::wstring &fragmentSource,
                                   const std::wstring &name, bool &built) {
  built = false;
  const GLuint vertexShader = gl.createShader(GL_VERTEX_SHADER);
  const GLuint fragmentShader = gl.createShader(GL_FRAGMENT_SHADER);
  // Both are compiled, so that each reports its own faults.
  const bool vertexCompiled = compile(vertexShader, vertexSource, "vertex", name);
  const bool fragmentCompiled = compile(fragmentShader, fragmentSource, "fragment", name);
  const GLuint program = gl.createProgram();
  if (program != 0) {
    gl.attachShader(program, vertexShader);
    gl.attachShader(program, fragmentShader);
    linking(program);
    gl.linkProgram(program);
    GLint linked = GL_FALSE;
    gl.getProgramiv(program, GL_LINK_STATUS, &linked);
    built = linked == GL_TRUE && vertexCompiled && fragmentCompiled;
    // A shader that did not compile has already said why the link fails.
    if (linked != GL_TRUE && vertexCompiled && fragmentCompiled)
      reportShaderFailure(name, "the program does not link", infoLog(program, gl.getProgramiv, gl.getProgramInfoLog));
  }
  // Attached shaders live on with their program.
  gl.deleteShader(vertexShader);
  gl.deleteShader(fragmentShader);
  return program;
}

bool GLProgramStore::compile(unsigned int shader, const std::wstring &source, const char *stage,
                             const std::wstring &name) {
  std::string text;
  UTF8File::wstringToChar(gl.version.shaderSource(source, std::strcmp(stage, "fragment") == 0), text);
  const GLchar *string = text.c_str();
  gl.shaderSource(shader, 1, &string, nullptr);
  gl.compileShader(shader);
  GLint compiled = GL_FALSE;
  gl.getShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (compiled == GL_TRUE) return true;
  reportShaderFailure(name, std::string("the ") + stage + " shader does not compile",
                      infoLog(shader, gl.getShaderiv, gl.getShaderInfoLog));
  return false;
}

void GLProgramStore::load(const std::wstring &vertexSource, const std::wstring &fragmentSource,
                          const std::wstring &name) {
  bool built = false;
  const GLuint program = build(vertexSource, fragmentSource, name, built);
  if (program != 0 && !add(name, program)) gl.deleteProgram(program);
}

bool GLProgramStore::add(const std::wstring &name, unsigned int program) {
  Program record;
  record.program = program;
  record.baseTextureLocation = gl.getUniformLocation(program, "base");
  record.secondTextureLocation = gl.getUniformLocation(program, "second");
  return shaders.insert(std::make_pair(name, record)).second;
}

bool GLProgramStore::release(const std::wstring &name) {
  auto it = shaders.find(name);
  // The program a drawer draws with when no other is chosen stays.
  if (it == shaders.end() || name == defaultName) return false;
  gl.deleteProgram(it->second.program);
  shaders.erase(it);
  return currentShader == name;
}

void GLProgramStore::requireLoaded() const { MW_ASSERT(shaders.find(currentShader) != shaders.end()); }

void GLProgramStore::registerParam(const std::wstring &paramName) {
  Program &program = inUse();
  std::string name;
  UTF8File::wstringToChar(paramName, name);
  program.params[paramName] = program.program != 0 ? gl.getUniformLocation(program.program, name.c_str()) : -1;
}

void GLProgramStore::setParam(const std::wstring &paramName, float value) {
  Program &program = inUse();
  const auto param = program.params.insert(std::make_pair(paramName, -1L)).first;
  if (program.program != 0) gl.uniform1f(static_cast<GLint>(param->second), value);
}
