#pragma once

#include <string>

class Drawer;

// Where the robot keeps the frames worth keeping: files on the desktop, the
// page's own store in a browser. Main thread, with the drawer's OpenGL
// context current, right after the frame is drawn and before it is shown.
class FrameKeeper {
 public:
  virtual ~FrameKeeper() = default;
  virtual bool capture(Drawer &drawer, const std::string &name, const std::string &caption) = 0;
};
