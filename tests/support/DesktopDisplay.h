#pragma once

#include <sys/types.h>
#include <string>

// A private X server (Xvfb) with a window manager (openbox) on it, as a
// desktop has one: without a window manager, no window on Xvfb ever goes
// full screen or changes its size, whatever a program asks.
class DesktopDisplay {
 public:
  DesktopDisplay(int width, int height);
  ~DesktopDisplay();
  DesktopDisplay(const DesktopDisplay &) = delete;
  DesktopDisplay &operator=(const DesktopDisplay &) = delete;

  // Both run, and the window manager has taken the screen.
  bool ready() const { return managed; }
  // For DISPLAY, e.g. ":42".
  const std::string &name() const { return display; }
  // Runs a shell command against this display; its standard output.
  std::string run(const std::string &command) const;

 private:
  pid_t server = -1;
  pid_t windowManager = -1;
  std::string display;
  bool managed = false;
};
