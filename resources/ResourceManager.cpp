#include "resources/ResourceManager.h"

#include "drawing/TextAtlas.h"
#include "game/Circle.h"
#include "sound/VorbisfileLoader.h"

ResourceManager::ResourceManager() {
  registerSoundFileLoader(L"ogg", &VorbisfileLoader::creator);
  initialiseResources();
}

void ResourceManager::registerTextureAtlas(boost::shared_ptr<TextureAtlas> atlas) { textureAtlases.push_back(atlas); }

void ResourceManager::registerSingleImage(boost::shared_ptr<SingleImage> image) { singleImages.push_back(image); }

void ResourceManager::registerImageFolder(const FilePath &folder) { imageFolders.push_back(folder); }

void ResourceManager::registerShader(boost::shared_ptr<Shader> shader) { shaders.push_back(shader); }

void ResourceManager::registerFont(boost::shared_ptr<Font> font) { fonts.push_back(font); }

void ResourceManager::registerSound(const FilePath &path) { sounds.push_back(path); }

void ResourceManager::registerSoundFileLoader(const std::wstring &extension, SoundFileLoader::Creator *creator) {
  soundFileFactory.registerCreator(extension, creator);
}

boost::shared_ptr<SoundFileLoader> ResourceManager::getSound(int index) const {
  return soundFileFactory.getLoader(sounds[index]);
}

const std::vector<std::wstring> &ResourceManager::soundNames() {
  static const std::vector<std::wstring> names = {
      L"ClackyThing",   L"DanglyDrumThing", L"Drone1",        L"FingerBell",    L"HandDrum",      L"Music",
      L"RainStick",     L"Scraper",         L"SingingBowl",   L"Speech_Intro",  L"Speech_World0", L"Speech_World1",
      L"Speech_World2", L"Speech_World3",   L"Speech_World4", L"Speech_World5", L"Speech_World6", L"Speech_World7"};
  return names;
}

void ResourceManager::initialiseResources() {
  registerSingleImage(boost::shared_ptr<SingleImage>(new Circle()));
  registerTextureAtlas(boost::shared_ptr<TextureAtlas>(new TextAtlas()));
  // Without the folder there is nothing to load (and no file elsewhere on
  // the machine may stand in); the application says so once.
  const FilePath sounds = soundsFolder();
  if (!sounds.isDirectory()) return;
  for (const std::wstring &name : soundNames()) registerSound(sounds.getChild(name + L".ogg"));
}

FilePath ResourceManager::soundsFolder() {
  const FilePath data = FilePath::getDataFilesDir();
  return data.getPath().empty() ? FilePath() : data.getChild(L"sounds");
}
