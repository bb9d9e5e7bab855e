#pragma once

#include "perfect/StationTour.h"
#include "perfect/WorldSolver.h"

class World1;

// Walks from colour station to colour station until the world starts to
// grow, then holds the hand still there until it is done.
class World1Solver final : public WorldSolver {
 public:
  explicit World1Solver(World1 &world);

  void play(Hand &hand) override;
  std::string stage() const override;

 private:
  World1 &world;
  StationTour tour;
  float lastScale = -1.0f;
  bool growing = false;
};
