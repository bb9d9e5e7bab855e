#pragma once

#include "framework/app/KeyManager.h"

#include <SDL/SDL_events.h>
#include <SDL/SDL_keyboard.h>

// Names SDL 1.2 keyboard and joystick events and looks their actions up.
class SDL1_2KeyManager final : public KeyManager {
 public:
  using KeyManager::getActions;

  void getActions(SDL_keysym &keysym, std::vector<std::wstring> &actions) const;
  void getActions(SDL_JoyAxisEvent &event, std::vector<std::wstring> &actions) const;
  void getActions(SDL_JoyButtonEvent &event, std::vector<std::wstring> &actions) const;
  void getActions(SDL_JoyHatEvent &event, std::vector<std::wstring> &actions) const;

  std::wstring getJoyButtonText(SDL_JoyButtonEvent &event) const;
  std::wstring getJoyHatText(SDL_JoyHatEvent &event) const;
  // 4 Meta, 3 Alt, 2 Shift, 1 Ctrl, 0 none: the first held, in that order.
  int getModVal(SDLMod &mod) const;

  // "Meta-", "Alt-", "Shift-", "Ctrl-" or "" followed by the key's name
  // (empty for keys without one).
  static std::wstring keyName(const SDL_keysym &keysym);
  static std::wstring joyAxisName(const SDL_JoyAxisEvent &event);
  // The name of a key symbol alone; empty when it has none.
  static std::wstring symbolName(SDLKey symbol);
};
