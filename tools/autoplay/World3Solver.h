#pragma once

#include "WorldSolver.h"

#include "game/TwoFloats.h"

class World3;

// Keeps the hand still until the rings flash red, then shakes it hard, one
// long jerk a frame, for as long as the flash lasts.
class World3Solver final : public WorldSolver {
 public:
  explicit World3Solver(World3 &world);

  void play(Hand &hand) override;
  std::string stage() const override;

 private:
  World3 &world;
  bool shaking = false;
  TwoFloats shakeCentre;
  bool shakeRight = false;
};
