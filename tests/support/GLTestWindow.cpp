#include "support/GLTestWindow.h"

#include <SDL.h>

#include <dlfcn.h>
#include <link.h>

namespace {

// Takes one more reference on every shared object loaded so far. SDL and
// Mesa unload the libraries they opened when the window goes; a leak report
// at exit would then show their allocations as "unknown module" that no
// suppression can name. Pinned, they stay attributable.
int pinLoadedLibrary(struct dl_phdr_info *info, size_t, void *) {
  if (info->dlpi_name && info->dlpi_name[0] != '\0') dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD);
  return 0;
}

}  // namespace

GLTestWindow::GLTestWindow(int width, int height) : width(width), height(height) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error = SDL_GetError();
    return;
  }
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  if (!SDL_SetVideoMode(width, height, 0, SDL_OPENGL)) {
    error = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return;
  }
  open = true;
  dl_iterate_phdr(pinLoadedLibrary, nullptr);
}

GLTestWindow::~GLTestWindow() {
  if (open) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void GLTestWindow::swapBuffers() {
  if (open) SDL_GL_SwapBuffers();
}
