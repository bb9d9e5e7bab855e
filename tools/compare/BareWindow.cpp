// The smallest SDL 1.2 OpenGL program: a window of WIDTH x HEIGHT, a few
// cleared and swapped frames, then exit. Beside the game it shows what the
// window and the OpenGL driver alone cost in start-up time and memory.
// Prints the seconds from process start to its first swapped frame.

#include "harness/ProcessClock.h"

#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[]) {
  const int width = argc > 1 ? std::atoi(argv[1]) : 1280;
  const int height = argc > 2 ? std::atoi(argv[2]) : 720;
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "%s: %s\n", argv[0], SDL_GetError());
    return 1;
  }
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  if (!SDL_SetVideoMode(width, height, 0, SDL_OPENGL)) {
    std::fprintf(stderr, "%s: %s\n", argv[0], SDL_GetError());
    SDL_Quit();
    return 1;
  }
  for (int frame = 0; frame < 10; ++frame) {
    glClearColor(0.1f * frame, 0.2f, 0.3f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapBuffers();
    if (frame == 0) std::printf("first frame %.4f\n", ProcessClock::secondsSinceStart());
  }
  SDL_Quit();
  return 0;
}
