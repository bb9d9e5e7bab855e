#pragma once

#include "framework/app/GameStateCreator.h"
#include "base/TwoFloats.h"

#include <boost/shared_ptr.hpp>
#include <string>

class Application;
class Drawer;
class GlobalData;
class ResourceManager;
class Sounder;

// One screen of the game. The application's loop hands it every input event
// (positions in drawing-area units) and asks it to draw once per frame, all
// on the main thread. The base ignores every event.
class GameState {
 public:
  // The base keeps only app; states that need the sounder keep it themselves.
  GameState(Application *app, Sounder *sounder);
  virtual ~GameState() = default;

  GameState(const GameState &) = delete;
  GameState &operator=(const GameState &) = delete;

  virtual void draw(boost::shared_ptr<Drawer> drawer) = 0;
  // keyText holds one character (U+0000 when the key has no translation);
  // modifier is 4 Meta, 3 Alt, 2 Shift, 1 Ctrl, 0 none.
  virtual void keyDown(const std::wstring &action, const std::wstring &keyText, int modifier);
  virtual void keyUp(const std::wstring &action, const std::wstring &keyText, int modifier);
  // SDL button numbers: 1 left, 2 middle, 3 right.
  virtual void mouseDown(int button, const TwoFloats &pos);
  virtual void mouseUp(int button, const TwoFloats &pos);
  virtual void mouseMove(const TwoFloats &pos);
  virtual void mouseWheel(bool down);
  // value from -1.0 to 1.0.
  virtual void joyMove(const std::wstring &action, float value, int joystick, int axis);
  virtual std::wstring getName() const = 0;

 protected:
  void quit();
  void setMousePos(const TwoFloats &pos);
  ResourceManager *getResourceManager() const;
  boost::shared_ptr<GlobalData> getGlobalData();
  // Switches states; the calling state is released by the application.
  void nextState(const std::wstring &stateName, const std::wstring &parameter);

  Application *app;  // not owned
};
