#pragma once

// The size in pixels of the display the full-screen window opens on. May be
// called before SDL is initialised: it brings up SDL's video subsystem for the
// question when needed and leaves SDL as it found it. Main thread only.
class ScreenResolution {
 public:
  // 0 when no display can be reached.
  static int getScreenWidth();
  static int getScreenHeight();
};
