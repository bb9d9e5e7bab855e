#pragma once

#include "perfect/WorldSolver.h"

class World4;

// Steers the mirrored rings to the screen centre: watches where they are
// and puts the mouse where their mirror image draws them onto the centre.
class World4Solver final : public WorldSolver {
 public:
  explicit World4Solver(World4 &world);

  void play(Hand &hand) override;
  std::string stage() const override { return "steering the mirrored rings to the centre"; }

 private:
  World4 &world;
};
