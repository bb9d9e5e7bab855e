#pragma once

#include <functional>

class Drawer;
class GamePlayState;

// Drives a GamePlayState frame by frame without a player: a world can be
// declared finished, as if it had been solved, and the game played on.
class GamePlayDriver {
 public:
  // Sets the world's own done flag.
  static void finish(GamePlayState &state, int world);
  // Draws frames until done() holds before a frame, at most limit of them;
  // the number drawn.
  static int framesUntil(GamePlayState &state, Drawer &drawer, const std::function<bool()> &done, int limit = 5000);
  // Finishes each world in turn until `world` is being played.
  static void playTo(GamePlayState &state, Drawer &drawer, int world);
};
