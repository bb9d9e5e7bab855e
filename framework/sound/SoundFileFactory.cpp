#include "framework/sound/SoundFileFactory.h"

#include "base/FilePath.h"

void SoundFileFactory::registerCreator(const std::wstring &extension, SoundFileLoader::Creator *creator) {
  if (!creator) return;
  creators.insert(std::make_pair(extension, creator));
}

boost::shared_ptr<SoundFileLoader> SoundFileFactory::getLoader(const FilePath &path) const {
  const auto found = creators.find(path.getExtension());
  if (found == creators.end()) return boost::shared_ptr<SoundFileLoader>();
  return found->second->createLoader(path);
}
