#include "framework/drawing/ScreenResolution.h"

#include "platforms/SDL1.2Backend/SDL1.2VideoStart.h"

#include <SDL.h>

namespace {

void getScreenSize(int &width, int &height) {
  width = height = 0;
  const bool wasUp = SDL_WasInit(SDL_INIT_VIDEO) != 0;
  if (!wasUp && !SDL1_2VideoStart::start(SDL_INIT_VIDEO)) return;
  // Before a video mode is set, this is the desktop's mode; a stand-in
  // driver's invented size is no screen's.
  const SDL_VideoInfo *info = SDL_GetVideoInfo();
  if (info && !SDL1_2VideoStart::onUnchosenStandIn()) {
    width = info->current_w;
    height = info->current_h;
  }
  if (!wasUp) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace

int ScreenResolution::getScreenWidth() {
  int width, height;
  getScreenSize(width, height);
  return width;
}

int ScreenResolution::getScreenHeight() {
  int width, height;
  getScreenSize(width, height);
  return height;
}
