#pragma once

// The two sizes the full-screen keys switch between. Both keep the shape of
// the window the program opened with, so that the drawing area, and all that
// the game states have laid out in it, stays as it is.
class WindowModes final {
 public:
  struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size &other) const { return width == other.width && height == other.height; }
  };

  WindowModes() = default;
  // opened: the pixel size the program opened with, in a window or full
  // screen; screen: the desktop's size, 0 x 0 when unknown.
  WindowModes(const Size &opened, bool openedWindowed, const Size &screen);

  // A window opened as one keeps its size; after a start in full screen, the
  // window fits within three quarters of the screen.
  Size windowed() const { return window; }
  // A full screen opened as one keeps its size; after a start in a window,
  // the largest size of the window's shape that the screen holds.
  Size fullScreen() const { return full; }

 private:
  Size window;
  Size full;
};
