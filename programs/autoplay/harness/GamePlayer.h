#pragma once

#include <string>

class GamePlayState;
class Hand;
class Player;
class SlotFiller;
class Timeline;

// The robot in the game proper: lets the current world's solver play while
// the world waits for the player, and notes each world's arrival, the
// closing sequence, the gathering, the fade and the end. Turns captions on
// for one world and keeps a frame of them. Main thread.
class GamePlayer {
 public:
  // What the robot noticed before a frame.
  struct Look {
    // Where it is: "in world 3 (keeping still until the red flash)".
    std::string place;
    // The frame about to be drawn is worth keeping under this name; empty if not.
    std::string keep;
    std::string caption;
  };

  // filler (may be null) keeps the slots busy through its world; the player
  // plays the worlds.
  GamePlayer(GamePlayState &game, Timeline &timeline, SlotFiller *filler, Player &player);
  ~GamePlayer();

  bool isFor(const GamePlayState &state) const { return &state == &game; }
  Look beforeFrame(Hand &hand, long frame);
  // True once the game has asked to quit at the end of its fade.
  bool afterDraw(long frame);

 private:
  Look inWorld(Hand &hand, long frame);
  Look inClosing(long frame);

  GamePlayState &game;
  Timeline &timeline;
  SlotFiller *filler;
  Player &player;
  static constexpr int captionedWorld = 1;
  static constexpr int captionShotFrames = 45;

  int enteredWorld = -1;
  int framesInWorld = 0;
  bool worldFrameKept = false;
  bool closingSeen = false;
  bool gatheringSeen = false;
  bool endKept = false;
  bool fadeSeen = false;
  bool quitSeen = false;
};
