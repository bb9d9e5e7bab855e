#pragma once

#include <boost/shared_ptr.hpp>

class Application;
class GameState;
class Sounder;

// Makes game states by name for the application's registry.
class GameStateCreatorBase {
 public:
  virtual ~GameStateCreatorBase() = default;
  // The base makes nothing: an empty pointer.
  virtual boost::shared_ptr<GameState> createInstance(Application *app, Sounder *sounder) const;
};
