#include "perfect/PerfectPlayer.h"

#include "harness/Hand.h"
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
#include "game/TitleScreen.h"
#include "game/World0.h"
#include "game/World1.h"
#include "game/World2.h"
#include "game/World3.h"
#include "game/World4.h"
#include "game/World6.h"
#include "game/World7.h"

namespace {

// Frames after a click before it clicks again, should the first one not have
// started the game.
const long clickRetryFrames = 30;

template <class W>
W &worldAs(GamePlayState &game, int index) {
  W *world = dynamic_cast<W *>(&game.getWorld(index));
  MW_ASSERT(world != nullptr);
  return *world;
}

}  // namespace

PerfectPlayer::PerfectPlayer(Hand &hand, const TwoFloats &area, int flashesToWatch)
    : hand(hand), area(area), flashesToWatch(flashesToWatch) {}

PerfectPlayer::~PerfectPlayer() = default;

std::string PerfectPlayer::onTitle(const TitleScreen &title, long frame, bool mayClick, bool &clicked) {
  clicked = false;
  if (title.getPromptAlpha() <= 0.0f) return "listening to the introduction";
  // Towards the prompt in the bottom right corner, as a person reaches for it.
  hand.moveToward(TwoFloats(area.x - 180.0f, area.y - 40.0f));
  if (title.getPromptAlpha() < 1.0f) return "waiting for the prompt";
  if (!mayClick) return "looking at the prompt";
  if (clickedAt >= 0 && frame - clickedAt < clickRetryFrames) return "the click did not start the game";
  hand.click();
  clickedAt = frame;
  clicked = true;
  return "clicking";
}

std::string PerfectPlayer::inGame(GamePlayState &game, bool playing) {
  if (solved != &game) {
    solved = &game;
    solvers[0].reset(new World0Solver(worldAs<World0>(game, 0)));
    solvers[1].reset(new World1Solver(worldAs<World1>(game, 1)));
    solvers[2].reset(new World2Solver(worldAs<World2>(game, 2)));
    solvers[3].reset(new World3Solver(worldAs<World3>(game, 3), flashesToWatch));
    solvers[4].reset(new World4Solver(worldAs<World4>(game, 4)));
    solvers[5].reset(new World5Solver());
    solvers[6].reset(new World6Solver(worldAs<World6>(game, 6)));
    solvers[7].reset(new World7Solver(worldAs<World7>(game, 7)));
  }
  if (!playing || game.isClosing()) return std::string();
  WorldSolver &solver = *solvers[game.getCurrentWorld()];
  solver.play(hand);
  return solver.stage();
}
