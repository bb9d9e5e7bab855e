#include "base/FilePath.h"

#include "support/ScopedEnv.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

TEST(FilePath, NameParts) {
  const FilePath rain(L"/data/sounds/Rain.ogg");
  EXPECT_EQ(L"Rain", rain.getName());
  EXPECT_EQ(L"Rain.ogg", rain.getNameWithExtension());
  EXPECT_EQ(L"ogg", rain.getExtension());
  EXPECT_EQ(L"/data/sounds", rain.getParent().getPath());

  const FilePath bare(L"/data/sounds/Readme");
  EXPECT_EQ(L"/data/sounds/Readme", bare.getExtension());
  EXPECT_EQ(L"Readme", bare.getName());

  // The folder's full stop is not the file's extension.
  EXPECT_EQ(L"/x/archive.d/notes", FilePath(L"/x/archive.d/notes").getExtension());
  EXPECT_EQ(L"gz", FilePath(L"a/b.tar.gz").getExtension());
  EXPECT_EQ(L"b.tar", FilePath(L"a/b.tar.gz").getName());

  const FilePath noSlash(L"plain.txt");
  EXPECT_EQ(L"plain.txt", noSlash.getParent().getPath());
  EXPECT_EQ(L"plain.txt", noSlash.getNameWithExtension());

  const FilePath empty;
  EXPECT_EQ(L"", empty.getExtension());
  EXPECT_FALSE(empty.exists());
  EXPECT_EQ(0, empty.getNumChildren());
  EXPECT_EQ(L"a/b///c", FilePath(L"a/b/").getChild(L"/c").getPath());
}

TEST(FilePath, KeepsUtf8CopyInStep) {
  FilePath path(L"/tmp/M\u00fcrmel \U0001F3B5");
  EXPECT_EQ("/tmp/M\xC3\xBCrmel \xF0\x9F\x8E\xB5", path.getUtf8Path());
  path.setPath(L"/x");
  EXPECT_EQ("/x", path.getUtf8Path());
  FilePath copy = path;
  EXPECT_EQ("/x", copy.getUtf8Path());
}

TEST(FilePath, FilesFoldersAndChildrenInByteOrder) {
  TempDir dir;
  for (const char *name : {"b.ogg", "a.ogg", "C.ogg"}) dir.writeFile(name, "x");
  const FilePath folder(dir.widePath());
  EXPECT_TRUE(folder.isDirectory());
  EXPECT_FALSE(folder.isFile());
  EXPECT_EQ(L"", folder.getExtension());
  ASSERT_EQ(3, folder.getNumChildren());
  EXPECT_EQ(dir.widePath() + L"/C.ogg", folder.getChild(0).getPath());
  EXPECT_EQ(dir.widePath() + L"/a.ogg", folder.getChild(1).getPath());
  EXPECT_EQ(dir.widePath() + L"/b.ogg", folder.getChild(2).getPath());
  EXPECT_EQ(L"", folder.getChild(3).getPath());
  EXPECT_EQ(L"", folder.getChild(-1).getPath());

  const FilePath file = folder.getChild(0);
  EXPECT_TRUE(file.exists());
  EXPECT_TRUE(file.isFile());
  EXPECT_FALSE(file.isDirectory());
  EXPECT_EQ(0, file.getNumChildren());
  EXPECT_EQ(L"", file.getChild(0).getPath());
}

TEST(FilePath, NonAsciiNamesRoundTrip) {
  TempDir dir;
  const FilePath folder(dir.widePath());
  const FilePath child = folder.getChild(L"W\u00f6rld \u2603 \U0001F600");
  ASSERT_TRUE(child.createAsDirectory());
  EXPECT_TRUE(child.isDirectory());
  ASSERT_EQ(1, folder.getNumChildren());
  EXPECT_EQ(child.getPath(), folder.getChild(0).getPath());
  EXPECT_EQ(L"W\u00f6rld \u2603 \U0001F600", folder.getChild(0).getNameWithExtension());
}

TEST(FilePath, CreateAsDirectoryMakesOneLevel) {
  TempDir dir;
  const FilePath folder(dir.widePath());
  EXPECT_FALSE(folder.getChild(L"a").getChild(L"b").createAsDirectory());
  EXPECT_TRUE(folder.getChild(L"a").createAsDirectory());
  EXPECT_FALSE(folder.getChild(L"a").createAsDirectory());
  EXPECT_TRUE(folder.getChild(L"a").getChild(L"b").createAsDirectory());
}

TEST(FilePath, CopyTo) {
  TempDir dir;
  std::string big(200000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  dir.writeFile("source.bin", big);
  const FilePath source(dir.widePath() + L"/source.bin");
  EXPECT_TRUE(source.copyTo(dir.widePath() + L"/copy.bin"));
  EXPECT_EQ(big, dir.readFile("copy.bin"));

  EXPECT_FALSE(FilePath().copyTo(dir.widePath() + L"/x"));
  EXPECT_FALSE(FilePath(dir.widePath() + L"/missing").copyTo(dir.widePath() + L"/x"));
  EXPECT_FALSE(source.copyTo(dir.widePath() + L"/no/such/folder/x"));
}

TEST(FilePath, HomeAndAppDataFollowTheEnvironment) {
  TempDir dir;
  ScopedEnv home("HOME", dir.path().c_str());
  {
    ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(dir.widePath(), FilePath::getHomeDir().getPath());
    EXPECT_EQ(dir.widePath() + L"/.config", FilePath::getAppDataPath().getPath());
  }
  {
    ScopedEnv config("XDG_CONFIG_HOME", "/elsewhere/cfg");
    EXPECT_EQ(L"/elsewhere/cfg", FilePath::getAppDataPath().getPath());
  }
  {
    // A relative value is not a valid XDG folder.
    ScopedEnv config("XDG_CONFIG_HOME", "relative/cfg");
    EXPECT_EQ(dir.widePath() + L"/.config", FilePath::getAppDataPath().getPath());
  }
}

TEST(FilePath, WithoutHomeTheUserDatabaseAnswersAndNoTildeAppears) {
  ScopedEnv home("HOME", nullptr);
  ScopedEnv config("XDG_CONFIG_HOME", nullptr);
  const std::wstring homeDir = FilePath::getHomeDir().getPath();
  const std::wstring appData = FilePath::getAppDataPath().getPath();
  EXPECT_EQ(std::wstring::npos, appData.find(L'~'));
  if (homeDir.empty()) {
    EXPECT_EQ(L"", appData);
  } else {
    EXPECT_EQ(L'/', homeDir[0]);
    EXPECT_EQ(homeDir + L"/.config", appData);
  }
}

TEST(FilePath, FontFolders) {
  ScopedEnv home("HOME", "/home/player");
  {
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    const std::vector<FilePath> dirs = FilePath::getFontsDirs();
    ASSERT_EQ(4u, dirs.size());
    EXPECT_EQ(L"/home/player/.local/share/fonts", dirs[0].getPath());
    EXPECT_EQ(L"/home/player/.fonts", dirs[1].getPath());
    EXPECT_EQ(L"/usr/local/share/fonts", dirs[2].getPath());
    EXPECT_EQ(L"/usr/share/fonts", dirs[3].getPath());
  }
  ScopedEnv data("XDG_DATA_HOME", "/data/home");
  EXPECT_EQ(L"/data/home/fonts", FilePath::getFontsDirs()[0].getPath());
}

TEST(FilePath, ExecutableAndDataFolders) {
  const FilePath executableDir = FilePath::getCurrentExecutableDir();
  ASSERT_TRUE(executableDir.isDirectory());
  EXPECT_TRUE(executableDir.getChild(L"app_tests").isFile());

  TempDir dir;
  {
    ScopedEnv data("MURMEL_WORLDS_DATA", dir.path().c_str());
    EXPECT_EQ(dir.widePath(), FilePath::getDataFilesDir().getPath());
  }
  // Not a folder: the next candidates are tried, and the test program has
  // neither "data" nor "../share/murmel-worlds" beside it.
  ScopedEnv data("MURMEL_WORLDS_DATA", (dir.path() + "/missing").c_str());
  EXPECT_EQ(L"", FilePath::getDataFilesDir().getPath());
}
