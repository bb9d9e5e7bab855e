#pragma once

#include "base/TwoFloats.h"

#include <SDL/SDL.h>

class SDL1_2Application;

// Puts synthetic input into SDL's event queue, where the application's loop
// takes it up as if it came from the devices. Positions are in drawing-area
// units; they become the window pixels that the loop maps back, so the game
// sees the pixel's own position (see snap). Main thread, before a frame's
// events are polled.
class EventPusher {
 public:
  explicit EventPusher(SDL1_2Application &app);

  // The point the game sees for a position: its window pixel, in drawing-area units.
  TwoFloats snap(const TwoFloats &position) const;
  // The size of one window pixel in drawing-area units.
  TwoFloats pixelSize() const;

  // The position lies on the pixel of the last motion: a mouse would report nothing.
  bool onLastPixel(const TwoFloats &position) const;
  // One pointer motion to the position; returns what the game will see.
  TwoFloats moveMouse(const TwoFloats &position);
  // The left button pressed and released at the position.
  void click(const TwoFloats &position);
  void pressKey(SDLKey key);

 private:
  void toPixel(const TwoFloats &position, int &x, int &y) const;
  TwoFloats fromPixel(int x, int y) const;
  void push(SDL_Event &event);

  SDL1_2Application &app;
  int lastX = -1;
  int lastY = -1;
};
