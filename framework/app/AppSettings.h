#pragma once

#include "framework/app/CmdLineCallback.h"

#include <boost/shared_ptr.hpp>
#include <map>
#include <memory>
#include <string>

class Application;
class Game;
class CmdLineParams;
class Drawer;
class GlobalData;
class KeyManager;
class Sounder;

// What the game tells the framework about itself: its name, the logical
// drawing area and how the drawers fit it to the window, its game states and
// default key bindings, and which drawer, sounder and shared data to make.
class AppSettings final : public CmdLineCallback {
 public:
  // Without a game (a drawer's test), the settings keep their defaults and
  // there is no sounder.
  explicit AppSettings(const Game *game = nullptr) : game(game) {}

  // Window caption, name of the settings folder, usage text.
  static const std::wstring applicationName;
  static const std::wstring applicationVersion;

  // Called once by the application before the command line is handled:
  // fixes the drawing area, registers the states and adds the default keys.
  void initialise(CmdLineParams &params, Application *app, KeyManager &keys, std::wstring &startStateOut);
  // A new drawer for the OpenGL context that is current now.
  boost::shared_ptr<Drawer> getDrawer();
  // A new game sounder; null without a game.
  std::unique_ptr<Sounder> getSounder();
  boost::shared_ptr<GlobalData> getGlobalData();

  // The first value of a parameter wins.
  void cmdLineParameterFound(const std::wstring &name, const std::wstring &value) override;

  // Logical drawing area in drawing units.
  int drawingAreaWidth = 1280;
  int drawingAreaHeight = 720;
  // 0: the area keeps its shape and is letter- or pillar-boxed in the window;
  // 1: the area keeps its width and takes the window's shape.
  int scalingMode = 0;
  // Captions of the spoken passages, switched by the "C" key in the
  // application's window; off at the start, so that the game stays wordless
  // unless asked.
  bool captions = false;

 private:
  const Game *game;
  std::map<std::wstring, std::wstring> parameterValues;
};
