#pragma once

#include <functional>
#include <map>
#include <string>

struct GLEntryPoints;

// A drawer's shader programs by name, with their parameters' locations,
// and the name of the one in use. Building one reports every failure with
// the driver's log on standard error.
// Main (OpenGL) thread only.
class GLProgramStore final {
 public:
  struct Program {
    unsigned int program = 0;
    // Locations of the sampler uniforms "base" and "second"; -1 when absent.
    int baseTextureLocation = -1;
    int secondTextureLocation = -1;
    std::map<std::wstring, long> params;
  };

  // linking: told of each program just before it is linked.
  GLProgramStore(const GLEntryPoints &gl, const std::wstring &defaultName, std::function<void(unsigned int)> linking);

  GLProgramStore(const GLProgramStore &) = delete;
  GLProgramStore &operator=(const GLProgramStore &) = delete;

  // Compiles and links a program; 0 when no program can be created. built
  // says whether both shaders compiled and the program linked.
  unsigned int build(const std::wstring &vertexSource, const std::wstring &fragmentSource, const std::wstring &name,
                     bool &built);
  // Builds and registers a program under a free name, even a broken one, so
  // that choosing the name stays legal (OpenGL then keeps drawing with the
  // program in use before).
  void load(const std::wstring &vertexSource, const std::wstring &fragmentSource, const std::wstring &name);
  // Registers a program under a free name; false when the name is taken.
  bool add(const std::wstring &name, unsigned int program);
  // A name that draws with no program.
  void addEmpty(const std::wstring &name) { shaders[name] = Program(); }
  // Deletes a program, never the default one; true when it was in use.
  bool release(const std::wstring &name);

  const std::wstring &currentName() const { return currentShader; }
  // The program in use; a name never registered becomes an empty one.
  Program &inUse() { return shaders[currentShader]; }
  void use(const std::wstring &name) { currentShader = name; }
  // Using a name never loaded is a programming error.
  void requireLoaded() const;

  // The parameter's location in the program in use.
  void registerParam(const std::wstring &paramName);
  // An unregistered parameter gets location -1, which OpenGL ignores.
  void setParam(const std::wstring &paramName, float value);

 private:
  // False when the source does not compile, after reporting the driver's log.
  bool compile(unsigned int shader, const std::wstring &source, const char *stage, const std::wstring &name);

  const GLEntryPoints &gl;
  const std::wstring defaultName;
  std::function<void(unsigned int)> linking;
  std::map<std::wstring, Program> shaders;
  std::wstring currentShader;
};
