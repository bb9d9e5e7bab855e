#pragma once

// The object every game state shares through Application::getGlobalData().
// This game keeps nothing in it; a game derives from it to share state.
class GlobalData {
 public:
  virtual ~GlobalData() = default;
};
