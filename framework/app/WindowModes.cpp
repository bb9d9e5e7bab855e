#include "framework/app/WindowModes.h"

#include <algorithm>
#include <cmath>

namespace {

// size scaled by factor, each side at least one pixel.
WindowModes::Size scaled(const WindowModes::Size &size, double factor) {
  WindowModes::Size result;
  result.width = std::max(1, static_cast<int>(std::lround(size.width * factor)));
  result.height = std::max(1, static_cast<int>(std::lround(size.height * factor)));
  return result;
}

// The factor that makes size just fit within the box.
double fitFactor(const WindowModes::Size &size, double boxWidth, double boxHeight) {
  return std::min(boxWidth / size.width, boxHeight / size.height);
}

}  // namespace

WindowModes::WindowModes(const Size &opened, bool openedWindowed, const Size &screen) : window(opened), full(opened) {
  const bool known = opened.width > 0 && opened.height > 0 && screen.width > 0 && screen.height > 0;
  if (!known) return;
  if (openedWindowed)
    full = scaled(opened, fitFactor(opened, screen.width, screen.height));
  else
    window = scaled(opened, std::min(1.0, fitFactor(opened, screen.width * 0.75, screen.height * 0.75)));
}
