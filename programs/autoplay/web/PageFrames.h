#pragma once

#include "harness/FrameKeeper.h"

// The robot's frames in a browser: handed to the page (Module.keepFrame),
// which reads the canvas while the frame is still in it, before the browser
// shows it and clears its drawing buffer.
class PageFrames final : public FrameKeeper {
 public:
  bool capture(Drawer &drawer, const std::string &name, const std::string &caption) override;
};
