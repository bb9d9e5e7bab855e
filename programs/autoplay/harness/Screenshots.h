#pragma once

#include "harness/ContactSheet.h"
#include "harness/FrameKeeper.h"

#include <string>


// The frames the robot keeps: each one written at once as DIR/name.png and
// added to the contact sheet, which is written last as DIR/contact-sheet.png.
// Main thread, with the drawer's OpenGL context current.
class Screenshots final : public FrameKeeper {
 public:
  explicit Screenshots(const std::string &dir);

  // Makes the folder (and its parents); false, with a message, when it cannot.
  bool prepare();
  // The frame just drawn, before the buffer swap.
  bool capture(Drawer &drawer, const std::string &name, const std::string &caption) override;
  bool writeContactSheet();

  const std::string &getDir() const { return dir; }

 private:
  std::string dir;
  ContactSheet sheet;
};
