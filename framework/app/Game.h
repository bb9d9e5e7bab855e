#pragma once

#include <boost/shared_ptr.hpp>
#include <memory>

class AppSettings;
class Application;
class GameState;
class KeyManager;
class ResourceManager;
class Sounder;

// What a game hands the framework: everything of its own that the shell
// needs and may not name. A program makes the game and gives it to the
// application, which asks for these at start-up. Main thread only.
class Game {
 public:
  virtual ~Game() = default;

  // Fixes the drawing area, registers the game states (one of them the start
  // state) and adds the default key bindings.
  virtual void initialise(AppSettings &settings, Application &app, KeyManager &keys) const = 0;
  // A new sounder for the game's music and sounds.
  virtual std::unique_ptr<Sounder> createSounder() const = 0;
  // Registers the game's images and sounds in the catalogue.
  virtual void registerResources(ResourceManager &resources) const = 0;
  // The first state shown: it loads the catalogue, then shows the start state.
  virtual boost::shared_ptr<GameState> createLoadingState(Application *app, Sounder *sounder) const = 0;
};
