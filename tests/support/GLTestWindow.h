#pragma once

#include <string>
#include <vector>

// A real SDL 1.2 OpenGL window for drawing tests (under Xvfb when there is
// no display). SDL's video subsystem is up for the window's lifetime and shut
// down with it; one window at a time.
class GLTestWindow {
 public:
  GLTestWindow(int width, int height);
  ~GLTestWindow();
  GLTestWindow(const GLTestWindow &) = delete;
  GLTestWindow &operator=(const GLTestWindow &) = delete;

  bool isOpen() const { return open; }
  // Why the window did not open.
  const std::string &getError() const { return error; }
  int getWidth() const { return width; }
  int getHeight() const { return height; }
  void swapBuffers();

 private:
  int width;
  int height;
  bool open = false;
  std::string error;
};
