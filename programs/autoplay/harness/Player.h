#pragma once

#include "base/TwoFloats.h"

#include <functional>
#include <memory>
#include <string>

class EventPusher;
class GamePlayState;
class Hand;
class TitleScreen;

// Who is at the controls: the perfect player (perfect/) or a persona
// (personas/). The harness keeps the books (timeline, screenshots, slots,
// the verdict) and asks the player once a frame, before the frame, what it
// does; the player moves the hand or the mouse itself. Main thread.
class Player {
 public:
  // Makes the player once the application's window is up.
  using Maker = std::function<std::unique_ptr<Player>(EventPusher &events, Hand &hand, const TwoFloats &area)>;

  virtual ~Player() = default;
  // On the title screen. A click waits while mayClick is false (the harness
  // is keeping the prompt's frame); clicked is set the frame it clicks.
  // Returns what it is doing there: "waiting for the prompt".
  virtual std::string onTitle(const TitleScreen &title, long frame, bool mayClick, bool &clicked) = 0;
  virtual void onLoading() = 0;
  // In the game proper, worlds and closing alike; playing while the current
  // world waits for the player (no camera journey, not yet done). Returns
  // what it is doing in the world while playing.
  virtual std::string inGame(GamePlayState &game, bool playing) = 0;
};
