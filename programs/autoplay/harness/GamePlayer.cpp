#include "harness/GamePlayer.h"

#include "harness/EventPusher.h"
#include "harness/Hand.h"
#include "harness/Player.h"
#include "harness/SlotFiller.h"
#include "harness/Timeline.h"

#include "game/GamePlayState.h"
#include "game/World.h"

GamePlayer::GamePlayer(GamePlayState &game, Timeline &timeline, SlotFiller *filler, Player &player)
    : game(game), timeline(timeline), filler(filler), player(player) {}

GamePlayer::~GamePlayer() = default;

GamePlayer::Look GamePlayer::beforeFrame(Hand &hand, long frame) {
  return game.isClosing() ? inClosing(frame) : inWorld(hand, frame);
}

GamePlayer::Look GamePlayer::inWorld(Hand &hand, long frame) {
  Look look;
  const int current = game.getCurrentWorld();
  const std::string name = "world " + std::to_string(current);
  if (current != enteredWorld) {
    enteredWorld = current;
    worldFrameKept = false;
    framesInWorld = 0;
    timeline.mark(name, frame);
    // Captions on for one world and off again after it, as a player presses "C".
    if (current == captionedWorld || current == captionedWorld + 1) hand.getEvents().pressKey(SDLK_c);
  }
  // Once the caption has faded in.
  if (current == captionedWorld && ++framesInWorld == captionShotFrames) {
    look.keep = "captions";
    look.caption = name + " with captions";
  }
  // The view has settled: the first world once it has faded in, the others
  // once the camera has arrived.
  if (!worldFrameKept && game.getTravel() == 0.0f && (current > 0 || game.getFadeIn() <= 0.0f)) {
    worldFrameKept = true;
    look.keep = "world-" + std::to_string(current);
    look.caption = name;
  }
  const bool played = game.getTravel() == 0.0f && !game.getWorld(current).worldDone();
  if (filler) filler->beforeFrame(current, played, frame);
  const std::string doing = player.inGame(game, played);
  if (player.noticedAnswer()) timeline.mark("answer in " + name, frame);
  if (game.getTravel() > 0.0f) {
    look.place = "in world " + std::to_string(current) + " (travelling on)";
  } else if (game.getWorld(current).worldDone()) {
    look.place = "in " + name + " (done, under the white flash)";
  } else {
    look.place = "in " + name + " (" + doing + ")";
  }
  return look;
}

GamePlayer::Look GamePlayer::inClosing(long frame) {
  Look look;
  look.place = "in the closing sequence";
  if (filler) filler->beforeFrame(-1, false, frame);
  player.inGame(game, false);
  if (!closingSeen) {
    closingSeen = true;
    timeline.mark("closing", frame);
  }
  if (!gatheringSeen && game.getGatherProgress() >= 1.0f) {
    gatheringSeen = true;
    timeline.mark("gathered", frame);
    look.keep = "gathering";
    look.caption = "gathering";
  }
  // This frame counts the closing sequence's last frame down; the next one begins the fade.
  if (!endKept && game.getFadeOut() <= 0.0f && game.getClosingFrames() <= 2) {
    endKept = true;
    look.keep = "end";
    look.caption = "end";
  }
  if (!fadeSeen && game.getFadeOut() > 0.0f) {
    fadeSeen = true;
    timeline.mark("fade", frame);
  }
  return look;
}

bool GamePlayer::afterDraw(long frame) {
  // The fade is complete: the game has asked to quit.
  if (!quitSeen && game.getFadeOut() > 1.0f) {
    quitSeen = true;
    timeline.mark("quit", frame);
  }
  return quitSeen;
}
