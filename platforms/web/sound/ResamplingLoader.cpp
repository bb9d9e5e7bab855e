// The browser build's ResamplingLoader::toRate: there is no resampler for
// WebAssembly here, and a sound out of pitch is worse than a sound missing,
// so a file recorded at another rate than the device's is refused. Every
// sound the game ships is at 44100 Hz, the rate the browser's device opens at.
#include "framework/sound/ResamplingLoader.h"

#include "framework/app/AppSettings.h"
#include "base/UTF8File.h"

#include <cmath>
#include <cstdio>

boost::shared_ptr<SoundFileLoader> ResamplingLoader::toRate(const boost::shared_ptr<SoundFileLoader> &loader,
                                                            double outputRate) {
  const long in = std::lround(loader->getSamplerate());
  const long out = std::lround(outputRate);
  if (in == out || in <= 0 || out <= 0 || loader->getFileLength() <= 0) return loader;
  std::string name, sound;
  UTF8File::wstringToChar(AppSettings::applicationName, name);
  UTF8File::wstringToChar(loader->getName(), sound);
  std::fprintf(stderr,
               "%s: sound \"%s\" is recorded at %ld Hz and the sound plays at %ld Hz: left out, since the browser "
               "build does not resample\n",
               name.c_str(), sound.c_str(), in, out);
  return boost::shared_ptr<SoundFileLoader>();
}
