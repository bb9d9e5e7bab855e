#pragma once

#include "base/FilePath.h"

#include <string>

// A font to render at start-up: the font file, the size in pixels and the
// name it is drawn by.
struct Font {
  FilePath file;
  float size = 0.0f;
  std::wstring name;
};
