#include "web/PageFrames.h"

#include <emscripten.h>

bool PageFrames::capture(Drawer &, const std::string &name, const std::string &) {
  return EM_ASM_INT(
      {
        if (!Module['keepFrame']) return 0;
        Module['keepFrame'](UTF8ToString($0));
        return 1;
      },
      name.c_str());
}
