#include "platforms/SDL1.2Backend/SDL1.2KeyManager.h"

namespace {

int modifierValue(SDLMod mod) {
  if (mod & (KMOD_LMETA | KMOD_RMETA)) return 4;
  if (mod & (KMOD_LALT | KMOD_RALT)) return 3;
  if (mod & (KMOD_LSHIFT | KMOD_RSHIFT)) return 2;
  if (mod & (KMOD_LCTRL | KMOD_RCTRL)) return 1;
  return 0;
}

const wchar_t *const modifierPrefixes[] = {L"", L"Ctrl-", L"Shift-", L"Alt-", L"Meta-"};

// Listed, not taken as ranges: they run in one block in SDL 1.2 but not in
// the browser's SDL, whose keypad 0 comes after 9 and F13 far from F12.
const SDLKey keypadDigits[] = {SDLK_KP0, SDLK_KP1, SDLK_KP2, SDLK_KP3, SDLK_KP4,
                               SDLK_KP5, SDLK_KP6, SDLK_KP7, SDLK_KP8, SDLK_KP9};
const SDLKey functionKeys[] = {SDLK_F1, SDLK_F2,  SDLK_F3,  SDLK_F4,  SDLK_F5,  SDLK_F6,  SDLK_F7, SDLK_F8,
                               SDLK_F9, SDLK_F10, SDLK_F11, SDLK_F12, SDLK_F13, SDLK_F14, SDLK_F15};

}  // namespace

std::wstring SDL1_2KeyManager::symbolName(SDLKey symbol) {
  const int s = static_cast<int>(symbol);
  // The printable ASCII symbols SDL defines name themselves (37, '%', is not one).
  if ((s >= 33 && s <= 64 && s != 37) || (s >= 91 && s <= 122)) return std::wstring(1, static_cast<wchar_t>(s));
  for (int i = 0; i < 10; ++i)
    if (symbol == keypadDigits[i]) return L"NumPad" + std::to_wstring(i);
  for (int i = 0; i < 15; ++i)
    if (symbol == functionKeys[i]) return L"F" + std::to_wstring(i + 1);
  switch (symbol) {
    case SDLK_BACKSPACE: return L"Backspace";
    case SDLK_TAB: return L"Tab";
    case SDLK_CLEAR: return L"Clear";
    case SDLK_RETURN: return L"Return";
    case SDLK_PAUSE: return L"Pause";
    case SDLK_ESCAPE: return L"Escape";
    case SDLK_SPACE: return L"Space";
    case SDLK_DELETE: return L"Delete";
    case SDLK_KP_PERIOD: return L"NumPad.";
    case SDLK_KP_DIVIDE: return L"NumPad/";
    case SDLK_KP_MULTIPLY: return L"NumPad*";
    case SDLK_KP_MINUS: return L"NumPad-";
    case SDLK_KP_PLUS: return L"NumPad+";
    case SDLK_KP_ENTER: return L"NumPadEnter";
    case SDLK_KP_EQUALS: return L"NumPad=";
    case SDLK_UP: return L"CursorUp";
    case SDLK_DOWN: return L"CursorDown";
    case SDLK_RIGHT: return L"CursorRight";
    case SDLK_LEFT: return L"CursorLeft";
    case SDLK_INSERT: return L"Insert";
    case SDLK_HOME: return L"Home";
    case SDLK_END: return L"End";
    case SDLK_PAGEUP: return L"PageUp";
    case SDLK_PAGEDOWN: return L"PageDown";
    case SDLK_HELP: return L"Help";
    case SDLK_PRINT: return L"PrintScreen";
    default: return L"";
  }
}

std::wstring SDL1_2KeyManager::keyName(const SDL_keysym &keysym) {
  return modifierPrefixes[modifierValue(keysym.mod)] + symbolName(keysym.sym);
}

std::wstring SDL1_2KeyManager::joyAxisName(const SDL_JoyAxisEvent &event) {
  static const wchar_t *const words[5][3] = {{L"Left", L"Centre", L"Right"},
                                             {L"Up", L"Centre", L"Down"},
                                             {L"TriggerLeft", L"TriggerCentre", L"TriggerRight"},
                                             {L"Left2", L"Centre2", L"Right2"},
                                             {L"Up2", L"Centre2", L"Down2"}};
  std::wstring name = L"Joy" + std::to_wstring(event.which);
  if (event.axis < 5) {
    // The boundary sits at 128, not at 0.
    const int column = event.value <= 127 ? 0 : (event.value == 128 ? 1 : 2);
    name += words[event.axis][column];
  }
  return name;
}

std::wstring SDL1_2KeyManager::getJoyButtonText(SDL_JoyButtonEvent &event) const {
  return L"Joy" + std::to_wstring(event.which) + L"Button" + std::to_wstring(event.button);
}

std::wstring SDL1_2KeyManager::getJoyHatText(SDL_JoyHatEvent &event) const {
  std::wstring name = L"Joy" + std::to_wstring(event.which) + L"Hat" + std::to_wstring(event.hat);
  if (event.value & SDL_HAT_UP)
    name += L"Up";
  else if (event.value & SDL_HAT_DOWN)
    name += L"Down";
  if (event.value & SDL_HAT_LEFT)
    name += L"Left";
  else if (event.value & SDL_HAT_RIGHT)
    name += L"Right";
  return name;
}

int SDL1_2KeyManager::getModVal(SDLMod &mod) const { return modifierValue(mod); }

void SDL1_2KeyManager::getActions(SDL_keysym &keysym, std::vector<std::wstring> &actions) const {
  KeyManager::getActions(keyName(keysym), actions);
}

void SDL1_2KeyManager::getActions(SDL_JoyAxisEvent &event, std::vector<std::wstring> &actions) const {
  KeyManager::getActions(joyAxisName(event), actions);
}

void SDL1_2KeyManager::getActions(SDL_JoyButtonEvent &event, std::vector<std::wstring> &actions) const {
  KeyManager::getActions(getJoyButtonText(event), actions);
}

void SDL1_2KeyManager::getActions(SDL_JoyHatEvent &event, std::vector<std::wstring> &actions) const {
  KeyManager::getActions(getJoyHatText(event), actions);
}
