#include "harness/GamePlayer.h"

#include "harness/EventPusher.h"
#include "harness/Hand.h"
#include "personas/PersonaPlayer.h"
#include "harness/SlotFiller.h"
#include "harness/Timeline.h"
#include "perfect/World0Solver.h"
#include "perfect/World1Solver.h"
#include "perfect/World2Solver.h"
#include "perfect/World3Solver.h"
#include "perfect/World4Solver.h"
#include "perfect/World5Solver.h"
#include "perfect/World6Solver.h"
#include "perfect/World7Solver.h"

#include "base/Assertion.h"
#include "game/GamePlayState.h"
#include "game/World0.h"
#include "game/World1.h"
#include "game/World2.h"
#include "game/World3.h"
#include "game/World4.h"
#include "game/World5.h"
#include "game/World6.h"
#include "game/World7.h"

namespace {

template <class W>
W &worldAs(GamePlayState &game, int index) {
  W *world = dynamic_cast<W *>(&game.getWorld(index));
  MW_ASSERT(world != nullptr);
  return *world;
}

}  // namespace

GamePlayer::GamePlayer(GamePlayState &game, Timeline &timeline, SlotFiller *filler, const PersonaPlayer *persona,
                       int flashesToWatch)
    : game(game), timeline(timeline), filler(filler), persona(persona) {
  if (persona) return;
  solvers[0].reset(new World0Solver(worldAs<World0>(game, 0)));
  solvers[1].reset(new World1Solver(worldAs<World1>(game, 1)));
  solvers[2].reset(new World2Solver(worldAs<World2>(game, 2)));
  solvers[3].reset(new World3Solver(worldAs<World3>(game, 3), flashesToWatch));
  solvers[4].reset(new World4Solver(worldAs<World4>(game, 4)));
  solvers[5].reset(new World5Solver());
  solvers[6].reset(new World6Solver(worldAs<World6>(game, 6)));
  solvers[7].reset(new World7Solver(worldAs<World7>(game, 7)));
}

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
  if (game.getTravel() > 0.0f) {
    look.place = "in world " + std::to_string(current) + " (travelling on)";
  } else if (game.getWorld(current).worldDone()) {
    look.place = "in " + name + " (done, under the white flash)";
  } else if (persona) {
    look.place = "in " + name + " (" + persona->activity() + ")";
  } else {
    solvers[current]->play(hand);
    look.place = "in " + name + " (" + solvers[current]->stage() + ")";
  }
  return look;
}

GamePlayer::Look GamePlayer::inClosing(long frame) {
  Look look;
  look.place = "in the closing sequence";
  if (filler) filler->beforeFrame(-1, false, frame);
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
