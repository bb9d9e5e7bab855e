#pragma once

#include "perfect/CircleDrawing.h"
#include "perfect/WorldSolver.h"

class World2;

// Draws circles round the screen centre until the world is done.
class World2Solver final : public WorldSolver {
 public:
  explicit World2Solver(World2 &world);

  void play(Hand &hand) override;
  std::string stage() const override { return "drawing circles"; }

 private:
  World2 &world;
  CircleDrawing circles;
};
