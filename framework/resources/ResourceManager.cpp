#include "framework/resources/ResourceManager.h"

#include "framework/sound/VorbisfileLoader.h"

ResourceManager::ResourceManager() {
  registerSoundFileLoader(L"ogg", &VorbisfileLoader::creator);
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

FilePath ResourceManager::soundsFolder() {
  const FilePath data = FilePath::getDataFilesDir();
  return data.getPath().empty() ? FilePath() : data.getChild(L"sounds");
}
