#include "base/Assertion.h"

#include <gtest/gtest.h>

namespace {

std::string sourceName(const char *file) {
  char out[256];
  assertionSourceName(file, out, sizeof out);
  return out;
}

}  // namespace

TEST(Assertion, SourceNamesDropExtensionLayerAndPlatform) {
  EXPECT_EQ("drawing/GLImmediateDrawer", sourceName("platforms/desktop/drawing/GLImmediateDrawer.cpp"));
  EXPECT_EQ("sound/StreamingSound", sourceName("framework/sound/StreamingSound.cpp"));
  EXPECT_EQ("KeyManager", sourceName("framework/app/KeyManager.cpp"));
  EXPECT_EQ("SDL1.2Backend/SDL1.2Application", sourceName("platforms/SDL1.2Backend/SDL1.2Application.cpp"));
  EXPECT_EQ("WebMainLoop", sourceName("platforms/web/WebMainLoop.cpp"));
  EXPECT_EQ("LoadingScreen", sourceName("game/LoadingScreen.cpp"));
  EXPECT_EQ("Random", sourceName("base/Random.cpp"));
  EXPECT_EQ("Makefile", sourceName("Makefile"));
}

TEST(Assertion, SourceNameIsCutToTheBuffer) {
  char out[5];
  assertionSourceName("sound/StreamingSound.cpp", out, sizeof out);
  EXPECT_STREQ("soun", out);
}

TEST(AssertionDeathTest, FailureAbortsWithSourceLineAndExpression) {
  const int line = __LINE__ + 1;
  EXPECT_DEATH(MW_ASSERT(1 + 1 == 3),
               "^tests/base/AssertionTest:" + std::to_string(line) + ": failed assertion `1 \\+ 1 == 3'\n$");
}

TEST(Assertion, HoldingAssertionDoesNothing) {
  int evaluated = 0;
  MW_ASSERT(++evaluated == 1);
  EXPECT_EQ(1, evaluated);
}
