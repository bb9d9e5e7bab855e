#include "drawing/Shader.h"

#include "app/FilePath.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(Shader, LoadsASourceFileLineByLine) {
  TempDir dir;
  // With and without a byte-order mark; a non-ASCII name.
  dir.writeFile("glühen.vert", "\xEF\xBB\xBFuniform float level;\nvoid main() {}");
  dir.writeFile("plain.frag", "void main() {}\n");
  std::wstring text = L"old";
  EXPECT_TRUE(Shader::loadShaderFile(FilePath(dir.widePath() + L"/glühen.vert"), text));
  EXPECT_EQ(text, L"uniform float level;\nvoid main() {}\n");
  EXPECT_TRUE(Shader::loadShaderFile(FilePath(dir.widePath() + L"/plain.frag"), text));
  EXPECT_EQ(text, L"void main() {}\n\n");
  EXPECT_FALSE(Shader::loadShaderFile(FilePath(dir.widePath() + L"/missing.frag"), text));
  EXPECT_EQ(text, L"");
}
