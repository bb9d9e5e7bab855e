#pragma once

#include "game/World.h"
#include "game/WorldStations.h"

#include <cstdint>

// Three colour stations, one ring at a time. Like World1's grid of 3 x 2
// stations, but each ring has its own station (spots[0], [1], [2], all
// different). The ring being solved (index stage) blends the stations'
// colours around the mouse; bringing the mouse within 256 units of its spot
// fixes its own colour and moves on to the next ring. The world grows to
// 0.28, 0.46 and 0.66 as the rings are solved; done at 0.66.
class World6 final : public World {
 public:
  World6();

  void mouseMove(const TwoFloats &position) override;
  bool worldDone() const override { return done; }
  void subclassTick() override;

  // Recolours ring k from mousePosition.
  void calcColours(int ring);

  TwoFloats mousePosition;
  std::array<TwoFloats, 3> spots;
  // Index of the ring being solved; 3 = all solved.
  int32_t stage = 0;
  // [row][column][ring].
  std::array<std::array<std::array<ThreeFloats, 3>, WorldStations::columns>, WorldStations::rows> stationColours;
  std::array<ThreeFloats, 3> currentRingColours;
  std::array<ThreeFloats, 3> ownRingColours;
  // Copied into scale on every tick.
  float targetScale = 0.1f;
  bool done = false;
};
