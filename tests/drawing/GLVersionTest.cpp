// The context's version string, and the GLSL dialect it calls for.
#include "framework/drawing/GLVersion.h"

#include "framework/drawing/GLESDrawer.h"
#include "framework/drawing/GLEntryPoints.h"
#include "support/GLTestWindow.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(GLVersion, ReadsTheNumberAndWhetherTheContextIsES) {
  struct Case {
    const char *text;
    double number;
    bool es;
  };
  const Case cases[] = {
      {"2.1 Mesa 22.3.6", 2.1, false},
      {"4.5 (Compatibility Profile) Mesa 22.3.6", 4.5, false},
      {"OpenGL ES 2.0 (WebGL 1.0 (OpenGL ES 2.0 Chromium))", 2.0, true},
      {"OpenGL ES 3.2 Mesa 22.3.6", 3.2, true},
      {"OpenGL ES-CM 1.1", 1.1, true},
      {"OpenGL ES", 0.0, true},
      {"Mesa", 0.0, false},
      {"", 0.0, false},
      {nullptr, 0.0, false},
  };
  for (const Case &c : cases) {
    const GLVersion version = GLVersion::parse(c.text);
    const std::string text = c.text ? c.text : "(null)";
    EXPECT_DOUBLE_EQ(c.number, version.getNumber()) << text;
    EXPECT_EQ(c.es, version.isES()) << text;
  }
}

TEST(GLVersion, ShaderSourcesAreRewrittenForESOnly) {
  const GLVersion desktop = GLVersion::parse("2.1 Mesa"), es = GLVersion::parse("OpenGL ES 2.0");
  struct Case {
    const wchar_t *source;
    bool fragment;
    const wchar_t *asES;
  };
  const Case cases[] = {
      {L"#version 120\nuniform mat4x4 m;\n", false, L"#version 100\nuniform mat4 m;\n"},
      {L"\t#version 120\n\tvarying vec2 t;", true, L"\t#version 100\nprecision mediump float;\n\tvarying vec2 t;"},
      {L"#version 120", true, L"#version 100\nprecision mediump float;"},
      // No version line: the header comes first.
      {L"void main() {}", true, L"#version 100\nprecision mediump float;\nvoid main() {}"},
      {L"// #version 120\nvoid main() {}", false, L"#version 100\n// #version 120\nvoid main() {}"},
      // Only whole words change.
      {L"mat2x2 a; mat3x3 b; mat4x4c; amat4x4; mat4x4_", false,
       L"#version 100\nmat2 a; mat3 b; mat4x4c; amat4x4; mat4x4_"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(std::wstring(c.asES), es.shaderSource(c.source, c.fragment)) << c.source;
    EXPECT_EQ(std::wstring(c.source), desktop.shaderSource(c.source, c.fragment)) << c.source;
  }
}

// A desktop context with GL_ARB_ES2_compatibility (llvmpipe has it) reads
// GLSL ES 1.00, so the built-in program as WebGL gets it is compiled here.
TEST(GLVersion, TheBuiltInProgramCompilesAndLinksAsGLSLES) {
  GLTestWindow window(64, 64);
  ASSERT_TRUE(window.isOpen()) << window.getError();
  const char *extensions = reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS));
  if (!extensions || !std::strstr(extensions, "GL_ARB_ES2_compatibility"))
    GTEST_SKIP() << "this context reads no GLSL ES";
  GLEntryPoints gl;
  gl.load();
  const GLVersion es = GLVersion::parse("OpenGL ES 2.0");
  const auto compile = [&](GLenum stage, const wchar_t *source) {
    const std::wstring wide = es.shaderSource(source, stage == GL_FRAGMENT_SHADER);
    const std::string text(wide.begin(), wide.end());
    const GLchar *string = text.c_str();
    const GLuint shader = gl.createShader(stage);
    gl.shaderSource(shader, 1, &string, nullptr);
    gl.compileShader(shader);
    GLint compiled = GL_FALSE;
    gl.getShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    char log[1024] = "";
    gl.getShaderInfoLog(shader, sizeof log, nullptr, log);
    EXPECT_EQ(GL_TRUE, compiled) << log;
    return shader;
  };
  const GLuint program = gl.createProgram();
  gl.attachShader(program, compile(GL_VERTEX_SHADER, GLESDrawer::defaultVertexSource));
  gl.attachShader(program, compile(GL_FRAGMENT_SHADER, GLESDrawer::defaultFragmentSource));
  gl.linkProgram(program);
  GLint linked = GL_FALSE;
  gl.getProgramiv(program, GL_LINK_STATUS, &linked);
  EXPECT_EQ(GL_TRUE, linked);
  gl.deleteProgram(program);
}
