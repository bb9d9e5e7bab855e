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

  // A player that plays from the picture is shown every frame drawn, as
  // width x height pixels (R, G, B, the bottom row first) filling the
  // drawing area `area`, after the frame is drawn.
  virtual bool seesPixels() const { return false; }
  virtual void see(const unsigned char *, int, int, const TwoFloats &) {}
  // True on the frame the player first noticed the screen answer what it
  // does in the world it is playing; once a world.
  virtual bool noticedAnswer() { return false; }
  // The player has given up on the world: it has had enough.
  virtual bool gaveUp() const { return false; }
  // How long it tried before it gave up, in seconds of its own.
  virtual double triedSeconds() const { return 0.0; }
};
