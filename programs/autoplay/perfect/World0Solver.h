#pragma once

#include "perfect/WorldSolver.h"

#include "base/TwoFloats.h"

#include <vector>

class World0;

// Finds the hidden spot by the warmth of the colours: sweeps a ring round the
// screen centre until the colours warm, reads from the background how far
// each position of the hand was from the spot, works out the spot from three
// or more such readings and rests there while the world grows.
class World0Solver final : public WorldSolver {
 public:
  explicit World0Solver(World0 &world);

  void play(Hand &hand) override;
  std::string stage() const override;

 private:
  struct Reading {
    TwoFloats position;
    float distance;
  };
  // How far the hand's last position was from the spot, from the warmth on
  // the screen; false when the colours are still cool.
  bool readDistance(float &distance) const;
  // The point at the read distances from the readings' positions (least
  // squares); false while they do not pin it down.
  bool locate(TwoFloats &spot) const;
  void sweep(Hand &hand);

  World0 &world;
  std::vector<Reading> readings;
  bool resting = false;
  bool located = false;
  float sweepAngle = 0.0f;
  int sweepSteps = 0;
};
