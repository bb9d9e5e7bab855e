#include "framework/sound/SoundFileLoader.h"

SoundFileLoader::SoundFileLoader(const FilePath &) {}
