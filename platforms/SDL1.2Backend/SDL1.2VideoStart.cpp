#include "platforms/SDL1.2Backend/SDL1.2VideoStart.h"

#include <cstdlib>

namespace {

const int attempts = 4;

}  // namespace

bool SDL1_2VideoStart::start(Uint32 subsystems) {
  for (int attempt = 1;; ++attempt) {
    if (SDL_InitSubSystem(subsystems) != 0) return false;
    const bool videoReady = SDL_GetVideoInfo() != nullptr && !onUnchosenStandIn();
    if (videoReady || attempt == attempts) return true;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
}

bool SDL1_2VideoStart::onUnchosenStandIn() {
  const char *chosen = std::getenv("SDL_VIDEODRIVER");
  if (chosen && *chosen) return false;
  const std::string driver = driverName();
  return driver == "offscreen" || driver == "dummy";
}

std::string SDL1_2VideoStart::driverName() {
  char name[64] = {0};
  return SDL_VideoDriverName(name, sizeof name) ? name : "";
}
