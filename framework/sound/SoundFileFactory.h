#pragma once

#include "framework/sound/SoundFileLoader.h"

#include <map>
#include <string>

// Chooses a loader for a sound file by its extension.
class SoundFileFactory {
 public:
  // The extension is given without the full stop. An extension registered
  // already keeps its first creator. The creator is not owned.
  void registerCreator(const std::wstring &extension, SoundFileLoader::Creator *creator);
  // A loader from the creator of the path's extension (exact, case-sensitive
  // match); empty when none is registered.
  boost::shared_ptr<SoundFileLoader> getLoader(const FilePath &path) const;

 private:
  std::map<std::wstring, SoundFileLoader::Creator *> creators;
};
