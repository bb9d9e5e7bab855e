#include "framework/resources/ResourceManager.h"

#include "framework/sound/SoundFileLoader.h"
#include "game/MurmelGame.h"

#include "support/DataFolder.h"

#include <gtest/gtest.h>

namespace {

// The catalogue as the application holds it: the game's entries in it.
struct GameCatalogue : ResourceManager {
  GameCatalogue() { MurmelGame().registerResources(*this); }
};

}  // namespace

TEST(ResourceManager, BuiltInCatalogue) {
  DataFolder folder;
  const TempDir &data = folder.dir();
  GameCatalogue resources;
  EXPECT_EQ(1, resources.getNumSingleImages());
  EXPECT_EQ(1, resources.getNumTextureAtlases());
  EXPECT_EQ(18, resources.getNumSounds());
  EXPECT_EQ(0, resources.getNumFonts());
  EXPECT_EQ(0, resources.getNumShaders());
  EXPECT_EQ(0, resources.getNumImageFolders());
  EXPECT_EQ(L"Circle", resources.getSingleImage(0)->getName());
  ASSERT_EQ(2, resources.getTextureAtlas(0)->numImages);
  EXPECT_EQ(L"Title", resources.getTextureAtlas(0)->images[0].name);
  EXPECT_EQ(L"AnyKey", resources.getTextureAtlas(0)->images[1].name);
  EXPECT_EQ(data.widePath() + L"/sounds/ClackyThing.ogg", resources.getSoundPath(0).getPath());
  EXPECT_EQ(data.widePath() + L"/sounds/Music.ogg", resources.getSoundPath(5).getPath());
  EXPECT_EQ(data.widePath() + L"/sounds/Speech_World7.ogg", resources.getSoundPath(17).getPath());

  // Missing files still get a loader: a closed one that plays nothing.
  const boost::shared_ptr<SoundFileLoader> missing = resources.getSound(0);
  ASSERT_TRUE(missing);
  EXPECT_EQ(L"ClackyThing", missing->getName());
  EXPECT_EQ(0, missing->getFileLength());
}

TEST(ResourceManager, LoadersByExactExtensionAndFreshOnEveryCall) {
  DataFolder data;
  GameCatalogue resources;
  resources.registerSound(FilePath(L"/x/Loud.OGG"));
  resources.registerSound(FilePath(L"/x/Loud.wav"));
  resources.registerSound(FilePath(L"/x/Twice.ogg"));
  resources.registerSound(FilePath(L"/x/Twice.ogg"));
  EXPECT_EQ(22, resources.getNumSounds());
  EXPECT_FALSE(resources.getSound(18));
  EXPECT_FALSE(resources.getSound(19));
  const boost::shared_ptr<SoundFileLoader> first = resources.getSound(20), second = resources.getSound(21);
  ASSERT_TRUE(first && second);
  EXPECT_NE(first.get(), second.get());
  EXPECT_NE(resources.getSound(20).get(), first.get());
}

TEST(ResourceManager, NoSoundFilesWithoutTheirFolder) {
  // No data folder at all: nothing at the root of the file system stands in.
  TempDir empty;
  {
    ScopedEnv data("MURMEL_WORLDS_DATA", (empty.path() + "/missing").c_str());
    ASSERT_EQ(L"", FilePath::getDataFilesDir().getPath());
    GameCatalogue resources;
    EXPECT_EQ(0, resources.getNumSounds());
    EXPECT_EQ(1, resources.getNumSingleImages());
  }
  // A data folder without "sounds".
  ScopedEnv data("MURMEL_WORLDS_DATA", empty.path().c_str());
  EXPECT_EQ(0, GameCatalogue().getNumSounds());
}
