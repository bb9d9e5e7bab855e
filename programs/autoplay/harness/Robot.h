#pragma once

#include "harness/Player.h"
#include "harness/RingFlashWatch.h"

#include "platforms/SDL1.2Backend/SDL1.2Application.h"

#include <boost/weak_ptr.hpp>
#include <memory>
#include <string>
#include <vector>

class EventPusher;
class FlashMeter;
class GamePlayState;
class GamePlayer;
class Hand;
class FrameKeeper;
class SlotFiller;
class Timeline;
class TitleScreen;

// The robot player, hooked into the application's loop. Before each frame it
// looks at the current state as a person looks at the screen and puts input
// into SDL's queue as a person's mouse would; after the frame is drawn it
// keeps the frames worth keeping. Main thread.
//
// Who plays is the Player the maker makes: the perfect player, as fast as the
// game allows, or a human player model that plays from what the screen
// shows; the robot keeps the milestones and the frames.
class Robot final : public SDL1_2Application::FrameHook {
 public:
  // screenshots may be null; maxFrames 0 plays on for ever.
  Robot(Timeline &timeline, FrameKeeper *screenshots, long maxFrames, Player::Maker makePlayer);
  ~Robot() override;

  void beforeFrame(SDL1_2Application &app) override;
  void afterDraw(SDL1_2Application &app) override;
  // The application draws uncapped. The world of the red flash is still
  // played at 60 frames a second: the flash follows the music's bars in real
  // time while the world shrinks frame by frame, so its frames would
  // otherwise measure the machine rather than the player.
  void setUncapped(bool drawsUncapped) { uncapped = drawsUncapped; }
  // Every drawn frame is measured for flashes (not owned; may be null).
  void setFlashMeter(FlashMeter *meter) { flashMeter = meter; }
  // Before the game is played: keeps the slots busy through the filler's world (not owned).
  void setSlotFiller(SlotFiller *slotFiller) { filler = slotFiller; }
  // Prints when each red flash reaches the picture (RingFlashWatch).
  void setFlashTimes(bool print) { flashTimes = print; }
  // In that world SDL's audio stops calling back; -1 for never.
  void setAudioStallWorld(int world) { stallAudioWorld = world; }

  // The game played to its end and quit by itself.
  bool finished() const { return gameFinished; }
  // The frame limit was reached.
  bool gaveUp() const { return gaveUpAt >= 0; }
  // Where the robot is, or was when it gave up: "in world 3 (waiting for the red flash)".
  const std::string &where() const { return place; }
  // Why the player gave up of its own accord; empty when it did not.
  const std::string &playerGaveUpWhy() const { return playerGaveUp; }

 private:
  void playTitle(SDL1_2Application &app, const TitleScreen &title);
  // The prompt has begun to show: noted once.
  void notePrompt(const TitleScreen &title, long frame);
  void giveUp(SDL1_2Application &app);
  // The frame about to be drawn is kept under that name.
  void keepFrame(const std::string &name, const std::string &caption);
  void paceWorldOfBars(SDL1_2Application &app, const GamePlayState &game);

  Timeline &timeline;
  FrameKeeper *screenshots;
  long maxFrames;
  Player::Maker makePlayer;
  SlotFiller *filler = nullptr;
  FlashMeter *flashMeter = nullptr;
  bool flashTimes = false;
  RingFlashWatch flashWatch;
  int stallAudioWorld = -1;
  bool audioStalled = false;
  // The frame about to be drawn is of the world of bars at play.
  bool inWorldOfBars = false;
  // The last frame read for the flash meter, kept to be refilled.
  std::vector<unsigned char> framePixels;
  std::unique_ptr<EventPusher> events;
  std::unique_ptr<Hand> hand;
  std::unique_ptr<Player> player;
  std::unique_ptr<GamePlayer> gamePlayer;
  // The game state the game's bookkeeping is for; a new one needs a new one.
  boost::weak_ptr<GameState> gameState;

  std::string place = "at start-up";
  std::string worldName;
  std::string playerGaveUp;
  std::string lastStateName;
  std::string shotName;
  std::string shotCaption;
  bool uncapped = false;
  bool titleKept = false;
  bool promptSeen = false;
  long clickedAt = -1;
  long gaveUpAt = -1;
  bool gameFinished = false;
};
