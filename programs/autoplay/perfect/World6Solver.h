#pragma once

#include "perfect/StationTour.h"
#include "perfect/WorldSolver.h"

class World6;

// Walks from colour station to colour station while rings still change
// colour with the mouse; once all three have settled, keeps still while the
// world grows to its end.
class World6Solver final : public WorldSolver {
 public:
  explicit World6Solver(World6 &world);

  void play(Hand &hand) override;
  std::string stage() const override;

 private:
  World6 &world;
  StationTour tour;
};
