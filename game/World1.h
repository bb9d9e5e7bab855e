#pragma once

#include "game/World.h"
#include "game/WorldStations.h"

// Find the station that holds the world's own colours. The screen is a 3 x 2
// grid of colour stations (columns at x = 64, 640, 1216; row 0 at y = 64,
// row 1 reached at y = 360); the rings blend the colours of the stations
// around the mouse. Within 256 units of targetSpot the rings glide to their
// own colours and the world grows; done at scale 0.66.
class World1 final : public World {
 public:
  World1();

  void mouseMove(const TwoFloats &position) override;
  bool worldDone() const override { return done; }
  void subclassTick() override;

  // Recolours the rings from mousePosition.
  void calcColours();

  TwoFloats mousePosition;
  TwoFloats targetSpot;
  // One table per ring, in ring order.
  std::array<WorldStations::Table, 3> stationColours;
  std::array<ThreeFloats, 3> ownRingColours;
  bool done = false;
};
