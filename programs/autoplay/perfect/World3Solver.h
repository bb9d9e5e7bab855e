#pragma once

#include "perfect/WorldSolver.h"

#include "base/TwoFloats.h"

class World3;

// Keeps the hand still until the rings flash red, then shakes it hard, one
// long jerk a frame, for as long as the flash lasts. Told to, it lets the
// first flashes go by still, so that the world shows several.
class World3Solver final : public WorldSolver {
 public:
  explicit World3Solver(World3 &world, int flashesToWatch = 0);

  void play(Hand &hand) override;
  std::string stage() const override;

 private:
  World3 &world;
  int flashesToWatch;
  bool flashSeen = false;
  bool shaking = false;
  TwoFloats shakeCentre;
  bool shakeRight = false;
};
