#pragma once

#include "perfect/WorldSolver.h"

// Calms the jumping rings: moves the hand one pixel a frame, round a small
// square, never far and never fast, until the world is done.
class World5Solver final : public WorldSolver {
 public:
  World5Solver() = default;

  void play(Hand &hand) override;
  std::string stage() const override { return "calming the rings with slow, small moves"; }

 private:
  int step = 0;
};
