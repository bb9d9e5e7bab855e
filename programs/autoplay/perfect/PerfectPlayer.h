#pragma once

#include "harness/Player.h"
#include "perfect/WorldSolver.h"

#include <array>
#include <memory>

// The speed reference: reads what it needs from the title and the worlds
// themselves and moves the hand 128 units a frame, acting at once.
class PerfectPlayer final : public Player {
 public:
  // flashesToWatch: world 3's red flashes it lets go by before it shakes.
  PerfectPlayer(Hand &hand, const TwoFloats &area, int flashesToWatch);
  ~PerfectPlayer() override;

  std::string onTitle(const TitleScreen &title, long frame, bool mayClick, bool &clicked) override;
  void onLoading() override {}
  std::string inGame(GamePlayState &game, bool playing) override;

 private:
  Hand &hand;
  TwoFloats area;
  int flashesToWatch;
  long clickedAt = -1;
  // The game the solvers were made for: a new game state gets new ones.
  const GamePlayState *solved = nullptr;
  std::array<std::unique_ptr<WorldSolver>, 8> solvers;
};
