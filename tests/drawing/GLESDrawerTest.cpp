// What is the shader drawer's own: whether a context can run it, and what
// happens when it cannot. Its drawing is checked by the conformance suite.
#include "framework/drawing/GLESDrawer.h"

#include "framework/app/AppSettings.h"
#include "support/GLTestWindow.h"

#include <gtest/gtest.h>

#include <boost/shared_ptr.hpp>
#include <string>
#include <vector>

TEST(GLESDrawer, IsSupportedFromOpenGL2OrES2WithVertexArrayObjects) {
  const char *const mesa = "GL_ARB_texture_float GL_ARB_vertex_array_object GL_EXT_blend_color";
  struct Case {
    const char *version, *extensions;
    bool supported;
  };
  const Case cases[] = {
      {"1.5", mesa, false},
      {"2.0", mesa, true},
      {"2.1 Mesa 22.3.6", mesa, true},
      {"4.5 (Compatibility Profile) Mesa 22.3.6", mesa, true},
      {"2.1", "GL_ARB_vertex_array_object", true},
      {"2.1", "GL_APPLE_vertex_array_object GL_ARB_vertex_array_object_es", false},
      {"OpenGL ES 2.0", mesa, false},
      {"OpenGL ES 2.0 (WebGL 1.0 (OpenGL ES 2.0 Chromium))", "GL_ANGLE_instanced_arrays GL_OES_vertex_array_object",
       true},
      {"OpenGL ES-CM 1.1", "GL_OES_vertex_array_object", false},
      {"2.1", "GL_OES_vertex_array_object", false},
      // A context that gives no string.
      {nullptr, mesa, false},
      {"2.1", nullptr, false},
  };
  for (const Case &c : cases)
    EXPECT_EQ(GLESDrawer::isSupported(c.version, c.extensions), c.supported)
        << (c.version ? c.version : "(null)") << " / " << (c.extensions ? c.extensions : "(null)");
}

TEST(GLESDrawer, TheApplicationDrawsWithShadersWhereTheContextRunsThem) {
  GLTestWindow window(320, 200);
  ASSERT_TRUE(window.isOpen()) << window.getError();
  // llvmpipe under Xvfb runs them.
  ASSERT_TRUE(GLESDrawer::isSupported());
  AppSettings settings;
  boost::shared_ptr<Drawer> drawer = settings.getDrawer();
  ASSERT_TRUE(dynamic_cast<GLESDrawer *>(drawer.get()));
  drawer->initialise(320, 200, settings);
  EXPECT_EQ(drawer->getFrameBufferImage(), L"-frame-buffer-image-");
  EXPECT_NE(drawer->getInternalImageData(L"-frame-buffer-image-"), nullptr);
  // The built-in program stays whatever a caller releases.
  drawer->releaseShader(L"-default-shader-");
  drawer->useShader(L"");
  drawer->beginDrawing();
  drawer->fillRect(TwoFloats(0, 0), TwoFloats(1280, 720), ThreeFloats(0, 1, 0), 1.0f);
  std::vector<unsigned char> pixels;
  drawer->getScreenPixels(pixels);
  ASSERT_EQ(pixels.size(), 320u * 200u * 3u);
  // The middle of the window: the area is letter-boxed in it.
  EXPECT_EQ(pixels[(100u * 320u + 160u) * 3u + 1u], 255);
}

TEST(GLESDrawer, ABuiltInProgramTheDriverRejectsIsReportedAndNothingIsDrawn) {
  GLTestWindow window(320, 200);
  ASSERT_TRUE(window.isOpen()) << window.getError();
  GLESDrawer drawer(GLESDrawer::FrameBuffers::IfAvailable, GLESDrawer::defaultVertexSource,
                    L"void main() { gl_FragColor = pxuNowhere; }");
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(drawer.prepare());
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.rfind("Murmel Worlds: shader \"-default-shader-\": the fragment shader does not compile: ", 0), 0u)
      << said;
  EXPECT_NE(said.find("pxuNowhere"), std::string::npos) << said;
  // Asked again, it does not try again.
  EXPECT_FALSE(drawer.prepare());

  // Used all the same, it keeps its word without drawing.
  AppSettings settings;
  drawer.initialise(320, 200, settings);
  drawer.beginDrawing();
  drawer.useShader(L"");
  drawer.fillRect(TwoFloats(0, 0), TwoFloats(1280, 720), ThreeFloats(1, 1, 1), 1.0f);
  drawer.drawLine(L"", TwoFloats(0, 100), TwoFloats(1280, 100), ThreeFloats(1, 1, 1), 1.0f);
  std::vector<unsigned char> pixels;
  drawer.getScreenPixels(pixels);
  for (unsigned char value : pixels) ASSERT_EQ(value, 0);
}
