// The browser's program entry, in place of the desktop's app/SDLMain.cpp: the
// page calls main (Module.callMain) on its click, and again for every game
// after that.
#include "app/SDLMain.h"

#include "app/UTF8File.h"
#include "app/WebBackend/WebMainLoop.h"

#include <string>
#include <vector>

int SDL_main(int argc, char *argv[]) {
  std::vector<std::wstring> arguments;
  for (int i = 1; i < argc; ++i) {
    std::wstring argument;
    UTF8File::charToWstring(argv[i], argument);
    arguments.push_back(argument);
  }
  return WebMainLoop::run(arguments) ? 0 : 1;
}
