#pragma once

#include "RgbaCanvas.h"

#include <string>

// The program's icon: a ring whose colour runs through one colour of each
// world in turn, on a dark round backdrop, at any square size.
class RingIcon {
 public:
  static RgbaCanvas draw(int side);
  // Every size a desktop asks for, as <folder>/<n>x<n>/apps/<name>.png;
  // false (with a message on standard error) on failure.
  static bool writeThemeSizes(const std::string &folder, const std::string &name);
};
