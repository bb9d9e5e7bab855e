#pragma once

// The browser build's SDL is emscripten's: SDL 1.3's headers, whose
// SDL_compat.h gives most of SDL 1.2's names back. This header gives the rest.
// cmake/Web.cmake puts it ahead of every source of the browser build; the
// desktop build never sees it.
#include <SDL/SDL.h>

// SDL 1.2's modifier set is the integer type keysym.mod has here, not SDL 1.3's enum.
#undef SDLMod
typedef Uint16 SDLMod;

// The browser paces frames to the display itself. The request lands on an
// attribute emscripten knows and already holds at 1, so that it is accepted
// and changes nothing.
#define SDL_GL_SWAP_CONTROL SDL_GL_ACCELERATED_VISUAL
