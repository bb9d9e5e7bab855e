#pragma once

#include "perfect/CircleDrawing.h"
#include "perfect/StationTour.h"
#include "perfect/WorldSolver.h"

class World7;

// The last world's three stages: steers the mirrored ring 0 to the centre,
// walks the colour stations until ring 0 turns yellow, then draws circles.
class World7Solver final : public WorldSolver {
 public:
  explicit World7Solver(World7 &world);

  void play(Hand &hand) override;
  std::string stage() const override;

 private:
  World7 &world;
  StationTour tour;
  CircleDrawing circles;
};
