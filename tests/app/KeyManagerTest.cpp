#include "platforms/SDL1.2Backend/SDL1.2KeyManager.h"

#include "framework/app/CmdLineParams.h"

#include "support/FakeApplication.h"
#include "support/SettingsFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <set>

namespace {

const std::string bom = "\xEF\xBB\xBF";

// The game's own defaults, as the settings add them at start-up.
void addDefaults(KeyManager &keys) {
  FakeApplication app;
  CmdLineParams params({});
  std::wstring startState;
  app.settings.initialise(params, &app, keys, startState);
}

std::vector<std::wstring> actionsOf(const KeyManager &keys, const std::wstring &key) {
  std::vector<std::wstring> actions{L"stale"};
  keys.getActions(key, actions);
  return actions;
}

SDL_keysym keysym(SDLKey sym, int mod) {
  SDL_keysym key{};
  key.sym = sym;
  key.mod = static_cast<SDLMod>(mod);
  return key;
}

}  // namespace

TEST(KeyManager, FirstRunWritesTheDefaultsInKeyOrder) {
  SettingsFolder settings;
  {
    SDL1_2KeyManager keys;
    addDefaults(keys);
    EXPECT_EQ((std::vector<std::wstring>{L"Action"}), actionsOf(keys, L"z"));
    EXPECT_FALSE(settings.exists("keyconfig.txt"));
  }
  EXPECT_EQ(bom +
                "P1Down CursorDown\nP1Left CursorLeft\nP1Right CursorRight\nP1Up CursorUp\n"
                "Escape Escape\nAction Space\nAction z\n",
            settings.read("keyconfig.txt"));
}

TEST(KeyManager, LoadedFileRulesAndDefaultsFillGaps) {
  SettingsFolder settings;
  const std::string handMade = bom + "Action x\nJump Joy0Button1\nJump Joy0Button1\n";
  settings.write("keyconfig.txt", handMade);
  {
    KeyManager keys;
    addDefaults(keys);
    EXPECT_EQ((std::vector<std::wstring>{L"Action"}), actionsOf(keys, L"x"));
    EXPECT_EQ(std::vector<std::wstring>{}, actionsOf(keys, L"Space"));
    EXPECT_EQ(std::vector<std::wstring>{}, actionsOf(keys, L"z"));
    EXPECT_EQ((std::vector<std::wstring>{L"P1Up"}), actionsOf(keys, L"CursorUp"));
    EXPECT_EQ((std::vector<std::wstring>{L"Jump", L"Jump"}), actionsOf(keys, L"Joy0Button1"));
    // Not a default: always added, in order after the earlier ones.
    keys.addMapping(L"Fire", L"x", false);
    EXPECT_EQ((std::vector<std::wstring>{L"Action", L"Fire"}), actionsOf(keys, L"x"));
  }
  EXPECT_EQ(handMade, settings.read("keyconfig.txt"));
}

TEST(KeyManager, AFileMadeDuringTheRunIsKept) {
  SettingsFolder settings;
  const std::string madeMeanwhile = bom + "Action x\n";
  {
    SDL1_2KeyManager keys;
    addDefaults(keys);
    settings.write("keyconfig.txt", madeMeanwhile);
  }
  EXPECT_EQ(madeMeanwhile, settings.read("keyconfig.txt"));
}

TEST(KeyManager, LinesWithoutSpaceAndUnfinishedLastLine) {
  SettingsFolder settings;
  settings.write("keyconfig.txt", bom + "Solo\nP1Up w s\nEscape q");
  KeyManager keys;
  EXPECT_EQ((std::vector<std::wstring>{L"Solo"}), actionsOf(keys, L"Solo"));
  EXPECT_EQ((std::vector<std::wstring>{L"P1Up"}), actionsOf(keys, L"w s"));
  EXPECT_EQ(std::vector<std::wstring>{}, actionsOf(keys, L"q"));
}

TEST(KeyManager, BadFilesNeitherCrashNorGetDamaged) {
  SettingsFolder garbage;
  std::string bytes = bom;
  for (int i = 0; i < 1 << 20; ++i) bytes.push_back(static_cast<char>(i % 7 == 6 ? '\n' : (i * 31) % 256));
  bytes += std::string(1 << 20, 'k');  // one line of a megabyte
  garbage.write("keyconfig.txt", bytes);
  { KeyManager keys; }
  EXPECT_EQ(bytes, garbage.read("keyconfig.txt"));

  // A folder where the file should be.
  SettingsFolder folder;
  folder.write("placeholder", "");
  ASSERT_EQ(0, ::mkdir(folder.file("keyconfig.txt").c_str(), 0775));
  { KeyManager keys; }
  // The settings folder cannot be made: the file is a plain file's child.
  TempDir root;
  root.writeFile("Murmel Worlds", "not a folder");
  ScopedEnv config("XDG_CONFIG_HOME", root.path().c_str());
  {
    KeyManager keys;
    addDefaults(keys);
  }
  EXPECT_EQ("not a folder", root.readFile("Murmel Worlds"));
}

TEST(SDL1_2KeyManager, NamesAllKeySymbols) {
  int named = 0;
  std::set<std::wstring> names;
  for (int sym = 0; sym < SDLK_LAST; ++sym) {
    const std::wstring name = SDL1_2KeyManager::symbolName(static_cast<SDLKey>(sym));
    if (!name.empty()) {
      ++named;
      names.insert(name);
    }
  }
  EXPECT_EQ(114, named);
  EXPECT_EQ(114u, names.size());
  EXPECT_EQ(L"", SDL1_2KeyManager::symbolName(static_cast<SDLKey>(37)));
  EXPECT_EQ(L"\"", SDL1_2KeyManager::symbolName(SDLK_QUOTEDBL));
  EXPECT_EQ(L"@", SDL1_2KeyManager::symbolName(SDLK_AT));
  EXPECT_EQ(L"\\", SDL1_2KeyManager::symbolName(SDLK_BACKSLASH));
  EXPECT_EQ(L"`", SDL1_2KeyManager::symbolName(SDLK_BACKQUOTE));
  EXPECT_EQ(L"NumPad7", SDL1_2KeyManager::symbolName(SDLK_KP7));
  EXPECT_EQ(L"NumPad.", SDL1_2KeyManager::symbolName(SDLK_KP_PERIOD));
  EXPECT_EQ(L"NumPadEnter", SDL1_2KeyManager::symbolName(SDLK_KP_ENTER));
  EXPECT_EQ(L"F15", SDL1_2KeyManager::symbolName(SDLK_F15));
  EXPECT_EQ(L"PrintScreen", SDL1_2KeyManager::symbolName(SDLK_PRINT));
  EXPECT_EQ(L"Help", SDL1_2KeyManager::symbolName(SDLK_HELP));
  EXPECT_EQ(L"", SDL1_2KeyManager::symbolName(SDLK_CAPSLOCK));
  EXPECT_EQ(L"", SDL1_2KeyManager::symbolName(SDLK_MENU));
}

TEST(SDL1_2KeyManager, ModifierPrefixPrecedence) {
  EXPECT_EQ(L"Shift-a", SDL1_2KeyManager::keyName(keysym(SDLK_a, KMOD_LCTRL | KMOD_RSHIFT)));
  EXPECT_EQ(L"Shift-", SDL1_2KeyManager::keyName(keysym(SDLK_LSHIFT, KMOD_LSHIFT)));
  EXPECT_EQ(L"Meta-Escape", SDL1_2KeyManager::keyName(keysym(SDLK_ESCAPE, KMOD_RMETA | KMOD_LALT | KMOD_LCTRL)));
  EXPECT_EQ(L"Alt-F4", SDL1_2KeyManager::keyName(keysym(SDLK_F4, KMOD_RALT | KMOD_LSHIFT)));
  EXPECT_EQ(L"Ctrl-z", SDL1_2KeyManager::keyName(keysym(SDLK_z, KMOD_RCTRL | KMOD_NUM)));
  EXPECT_EQ(L"", SDL1_2KeyManager::keyName(keysym(SDLK_CAPSLOCK, KMOD_CAPS)));

  SDL1_2KeyManager keys;
  for (const auto &[mod, value] : std::vector<std::pair<int, int>>{{KMOD_NONE, 0},
                                                                   {KMOD_LCTRL, 1},
                                                                   {KMOD_RSHIFT | KMOD_RCTRL, 2},
                                                                   {KMOD_LALT | KMOD_LSHIFT, 3},
                                                                   {KMOD_LMETA | KMOD_LALT, 4},
                                                                   {KMOD_NUM | KMOD_CAPS, 0}}) {
    SDLMod m = static_cast<SDLMod>(mod);
    EXPECT_EQ(value, keys.getModVal(m)) << mod;
  }
}

TEST(SDL1_2KeyManager, JoystickNames) {
  SettingsFolder settings;
  SDL1_2KeyManager keys;
  auto axis = [](int which, int number, int value) {
    SDL_JoyAxisEvent event{};
    event.which = static_cast<Uint8>(which);
    event.axis = static_cast<Uint8>(number);
    event.value = static_cast<Sint16>(value);
    return SDL1_2KeyManager::joyAxisName(event);
  };
  EXPECT_EQ(L"Joy1Up", axis(1, 1, -200));
  EXPECT_EQ(L"Joy1Up", axis(1, 1, 0));
  EXPECT_EQ(L"Joy1Up", axis(1, 1, 127));
  EXPECT_EQ(L"Joy1Centre", axis(1, 1, 128));
  EXPECT_EQ(L"Joy1Down", axis(1, 1, 129));
  EXPECT_EQ(L"Joy0Left", axis(0, 0, 0));
  EXPECT_EQ(L"Joy0TriggerRight", axis(0, 2, 32767));
  EXPECT_EQ(L"Joy0Centre2", axis(0, 3, 128));
  EXPECT_EQ(L"Joy2Down2", axis(2, 4, 300));
  EXPECT_EQ(L"Joy0", axis(0, 5, 300));

  SDL_JoyHatEvent hat{};
  hat.which = 0;
  hat.hat = 0;
  hat.value = SDL_HAT_RIGHTDOWN;
  EXPECT_EQ(L"Joy0Hat0DownRight", keys.getJoyHatText(hat));
  hat.value = SDL_HAT_LEFTUP;
  EXPECT_EQ(L"Joy0Hat0UpLeft", keys.getJoyHatText(hat));
  hat.value = SDL_HAT_CENTERED;
  hat.hat = 2;
  EXPECT_EQ(L"Joy0Hat2", keys.getJoyHatText(hat));

  SDL_JoyButtonEvent button{};
  button.which = 3;
  button.button = 12;
  EXPECT_EQ(L"Joy3Button12", keys.getJoyButtonText(button));
  keys.addMapping(L"Fire", L"Joy3Button12", false);
  std::vector<std::wstring> actions;
  keys.getActions(button, actions);
  EXPECT_EQ((std::vector<std::wstring>{L"Fire"}), actions);
}
