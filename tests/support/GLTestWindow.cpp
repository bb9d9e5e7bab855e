#include "support/GLTestWindow.h"

#include <SDL.h>

#include "platforms/SDL1.2Backend/SDL1.2VideoStart.h"

#include "support/LibraryPins.h"

GLTestWindow::GLTestWindow(int width, int height) : width(width), height(height) {
  if (!SDL1_2VideoStart::start(SDL_INIT_VIDEO)) {
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
  pinLoadedLibraries();
}

GLTestWindow::~GLTestWindow() {
  if (open) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void GLTestWindow::swapBuffers() {
  if (open) SDL_GL_SwapBuffers();
}
