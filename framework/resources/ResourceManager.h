#pragma once

#include "base/FilePath.h"
#include "framework/drawing/Shader.h"
#include "framework/drawing/SingleImage.h"
#include "framework/drawing/TextureAtlas.h"
#include "framework/resources/Font.h"
#include "framework/sound/SoundFileFactory.h"

#include <boost/shared_ptr.hpp>
#include <vector>

// The catalogue of everything loaded at start-up, filled by the constructor
// and read-only afterwards. It holds descriptions and embedded data only: the
// loading screen decodes and hands each entry on, one per frame. Main thread
// only; the getters do not check their index.
class ResourceManager {
 public:
  // Registers the Ogg Vorbis loader for "ogg", then the game's own resources.
  ResourceManager();

  ResourceManager(const ResourceManager &) = delete;
  ResourceManager &operator=(const ResourceManager &) = delete;

  void registerTextureAtlas(boost::shared_ptr<TextureAtlas> atlas);
  void registerSingleImage(boost::shared_ptr<SingleImage> image);
  void registerImageFolder(const FilePath &folder);
  void registerShader(boost::shared_ptr<Shader> shader);
  void registerFont(boost::shared_ptr<Font> font);
  void registerSound(const FilePath &path);
  void registerSoundFileLoader(const std::wstring &extension, SoundFileLoader::Creator *creator);

  boost::shared_ptr<TextureAtlas> getTextureAtlas(int index) const { return textureAtlases[index]; }
  boost::shared_ptr<SingleImage> getSingleImage(int index) const { return singleImages[index]; }
  const FilePath &getImageFolder(int index) const { return imageFolders[index]; }
  boost::shared_ptr<Shader> getShaders(int index) const { return shaders[index]; }
  boost::shared_ptr<Font> getFont(int index) const { return fonts[index]; }
  // Opens the file anew on every call; empty when no loader knows its extension.
  boost::shared_ptr<SoundFileLoader> getSound(int index) const;
  const FilePath &getSoundPath(int index) const { return sounds[index]; }

  int getNumTextureAtlases() const { return static_cast<int>(textureAtlases.size()); }
  int getNumSingleImages() const { return static_cast<int>(singleImages.size()); }
  int getNumImageFolders() const { return static_cast<int>(imageFolders.size()); }
  int getNumShaders() const { return static_cast<int>(shaders.size()); }
  int getNumFonts() const { return static_cast<int>(fonts.size()); }
  int getNumSounds() const { return static_cast<int>(sounds.size()); }

  // The data-files folder's "sounds"; empty when there is no data folder.
  static FilePath soundsFolder();

 private:
  std::vector<boost::shared_ptr<TextureAtlas>> textureAtlases;
  std::vector<boost::shared_ptr<SingleImage>> singleImages;
  std::vector<FilePath> imageFolders;
  std::vector<boost::shared_ptr<Shader>> shaders;
  std::vector<boost::shared_ptr<Font>> fonts;
  std::vector<FilePath> sounds;
  SoundFileFactory soundFileFactory;
};
