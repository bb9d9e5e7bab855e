#include "harness/EventPusher.h"

#include "platforms/SDL1.2Backend/SDL1.2Application.h"
#include "framework/drawing/Drawer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// A byte in SDL 1.2; wider in the browser's SDL, whose event numbers are too.
using EventType = decltype(SDL_Event{}.type);

}  // namespace

EventPusher::EventPusher(SDL1_2Application &app) : app(app) {}

void EventPusher::toPixel(const TwoFloats &position, int &x, int &y) const {
  const TwoFloats pixel = app.drawerToMouse(position);
  x = std::clamp(static_cast<int>(std::lround(pixel.x)), 0, std::max(0, app.getWindowWidth() - 1));
  y = std::clamp(static_cast<int>(std::lround(pixel.y)), 0, std::max(0, app.getWindowHeight() - 1));
}

TwoFloats EventPusher::fromPixel(int x, int y) const {
  return app.mouseToDrawer(TwoFloats(static_cast<float>(x), static_cast<float>(y)));
}

TwoFloats EventPusher::snap(const TwoFloats &position) const {
  int x, y;
  toPixel(position, x, y);
  return fromPixel(x, y);
}

TwoFloats EventPusher::pixelSize() const {
  return app.mouseToDrawer(TwoFloats(1.0f, 1.0f));
}

void EventPusher::push(SDL_Event &event) {
  // A full queue drops the event, as it would a device's.
  if (SDL_PushEvent(&event) != 0) std::fprintf(stderr, "murmel-worlds-autoplay: SDL's event queue is full\n");
}

bool EventPusher::onLastPixel(const TwoFloats &position) const {
  int x, y;
  toPixel(position, x, y);
  return x == lastX && y == lastY;
}

TwoFloats EventPusher::moveMouse(const TwoFloats &position) {
  int x, y;
  toPixel(position, x, y);
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.type = SDL_MOUSEMOTION;
  event.motion.x = static_cast<Uint16>(x);
  event.motion.y = static_cast<Uint16>(y);
  event.motion.xrel = static_cast<Sint16>(lastX < 0 ? 0 : x - lastX);
  event.motion.yrel = static_cast<Sint16>(lastY < 0 ? 0 : y - lastY);
  push(event);
  lastX = x;
  lastY = y;
  return fromPixel(x, y);
}

void EventPusher::click(const TwoFloats &position) {
  int x, y;
  toPixel(position, x, y);
  for (const EventType type : {EventType(SDL_MOUSEBUTTONDOWN), EventType(SDL_MOUSEBUTTONUP)}) {
    SDL_Event event{};
    event.type = type;
    event.button.type = type;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = static_cast<Uint16>(x);
    event.button.y = static_cast<Uint16>(y);
    push(event);
  }
}

void EventPusher::pressKey(SDLKey key) {
  for (const EventType type : {EventType(SDL_KEYDOWN), EventType(SDL_KEYUP)}) {
    SDL_Event event{};
    event.type = type;
    event.key.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    push(event);
  }
}
