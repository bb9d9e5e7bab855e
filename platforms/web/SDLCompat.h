#pragma once

// The browser build's SDL is emscripten's: SDL 1.3's headers, whose
// SDL_compat.h gives most of SDL 1.2's names back. This header gives the rest.
// platforms/web/Platform.cmake puts it ahead of every source of the browser build; the
// desktop build never sees it.
#include <SDL/SDL.h>

// SDL 1.2's modifier set is the integer type keysym.mod has here, not SDL 1.3's enum.
#undef SDLMod
typedef Uint16 SDLMod;

// The browser paces frames to the display itself. The request lands on an
// attribute emscripten knows and already holds at 1, so that it is accepted
// and changes nothing.
#define SDL_GL_SWAP_CONTROL SDL_GL_ACCELERATED_VISUAL

// emscripten's SDL_GetVideoInfo fills in the canvas's size alone and leaves
// the rest, the pointer to the pixel format among it, as the allocator found
// it. Callers read the format's depth: here they get the canvas's 32 bits.
inline const SDL_VideoInfo *murmelCanvasVideoInfo() {
  static SDL_PixelFormat format = [] {
    SDL_PixelFormat canvasFormat = SDL_PixelFormat();
    canvasFormat.BitsPerPixel = 32;
    canvasFormat.BytesPerPixel = 4;
    return canvasFormat;
  }();
  static SDL_VideoInfo info;
  const SDL_VideoInfo *canvas = SDL_GetVideoInfo();
  info = SDL_VideoInfo();
  info.vfmt = &format;
  if (canvas) {
    info.current_w = canvas->current_w;
    info.current_h = canvas->current_h;
  }
  return &info;
}
#define SDL_GetVideoInfo murmelCanvasVideoInfo
