#include "sound/SoundFileLoader.h"

SoundFileLoader::SoundFileLoader(const FilePath &) {}
