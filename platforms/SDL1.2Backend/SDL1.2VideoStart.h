#pragma once

#include <SDL.h>

#include <string>

// Brings up SDL subsystems including video. Bringing video up again in the
// same process (after a screen-size question, say) now and then finds the
// X server's display missing for a moment, and SDL then quietly settles on
// an invisible stand-in driver; a second try finds the display again.
// Main thread only.
class SDL1_2VideoStart final {
 public:
  // SDL_InitSubSystem with a few bounded retries while video comes up on a
  // stand-in nobody chose. False when SDL refuses outright (SDL_GetError says why).
  static bool start(Uint32 subsystems);
  // Video runs on "offscreen" or "dummy" without SDL_VIDEODRIVER asking for it.
  static bool onUnchosenStandIn();
  // The name of the running video driver, "" when none.
  static std::string driverName();
};
