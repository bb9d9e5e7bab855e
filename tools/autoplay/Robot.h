#pragma once

#include "app/SDL1.2Backend/SDL1.2Application.h"

#include <boost/weak_ptr.hpp>
#include <memory>
#include <string>

class EventPusher;
class GamePlayer;
class Hand;
class Screenshots;
class SlotFiller;
class Timeline;
class TitleScreen;

// The robot player, hooked into the application's loop. Before each frame it
// looks at the current state as a person looks at the screen and puts input
// into SDL's queue as a person's mouse would; after the frame is drawn it
// keeps the frames worth keeping. Main thread.
class Robot final : public SDL1_2Application::FrameHook {
 public:
  // screenshots may be null; maxFrames 0 plays on for ever.
  Robot(Timeline &timeline, Screenshots *screenshots, long maxFrames);
  ~Robot() override;

  void beforeFrame(SDL1_2Application &app) override;
  void afterDraw(SDL1_2Application &app) override;
  // Before the game is played: keeps the slots busy through the filler's world (not owned).
  void setSlotFiller(SlotFiller *slotFiller) { filler = slotFiller; }

  // The game played to its end and quit by itself.
  bool finished() const { return gameFinished; }
  // The frame limit was reached.
  bool gaveUp() const { return gaveUpAt >= 0; }
  // Where the robot is, or was when it gave up: "in world 3 (waiting for the red flash)".
  const std::string &where() const { return place; }

 private:
  void playTitle(SDL1_2Application &app, const TitleScreen &title);
  void giveUp(SDL1_2Application &app);
  // The frame about to be drawn is kept under that name.
  void keepFrame(const std::string &name, const std::string &caption);

  Timeline &timeline;
  Screenshots *screenshots;
  long maxFrames;
  SlotFiller *filler = nullptr;
  std::unique_ptr<EventPusher> events;
  std::unique_ptr<Hand> hand;
  std::unique_ptr<GamePlayer> player;
  // The game state the player plays; a new one would need a new player.
  boost::weak_ptr<GameState> playerState;

  std::string place = "at start-up";
  std::string lastStateName;
  std::string shotName;
  std::string shotCaption;
  bool titleKept = false;
  bool promptSeen = false;
  long clickedAt = -1;
  long gaveUpAt = -1;
  bool gameFinished = false;
};
