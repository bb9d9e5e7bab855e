#pragma once

#include "game/CircleDetector.h"
#include "game/World.h"
#include "game/WorldStations.h"

#include <cstdint>

// Three stages.
// 0, steer: ring 0 starts in the screen's top-left corner and glides towards
//    the mouse mirrored through the screen centre; bring it within 32 units
//    of the centre (put the mouse on the centre and wait).
// 1, find the station: ring 0 blends the colours of a 3 x 2 grid of stations
//    around the mouse; once the world has grown to 0.28 (36 frames after
//    stage 1 begins), bringing the mouse within 192 units of targetSpot (never
//    in the middle column) turns ring 0 yellow.
// 2, draw circles: the world grows by 0.0005 on every frame the circle
//    detector sees a circle and shrinks back towards 0.46 otherwise; ring 2's
//    orbit narrows as it grows. Done at 0.66 (stage 3).
class World7 final : public World {
 public:
  World7();

  void mouseMove(const TwoFloats &position) override;
  bool worldDone() const override { return done; }
  void subclassTick() override;

  // Ring 0 takes the stations' blend at mousePosition.
  void calcColours();

  // 0 = steer, 1 = find the station, 2 = draw circles, 3 = finished.
  int32_t stage = 0;
  // Last mouse position (mirrored in stage 0).
  TwoFloats mousePosition;
  TwoFloats targetSpot;
  std::array<ThreeFloats, 3> ringColourSet;
  // Ring 0's colour at each station.
  WorldStations::Table stationColours;
  // Screen point ring 1 drifts to.
  TwoFloats wanderPoint;
  // Frames until a new wanderPoint; -1 = never again.
  int32_t wanderFrames = 1;
  CircleDetector detector;
  // Distance of ring 2 from ring 0.
  float orbitRadius = 192.0f;
  // 0 ... 1: angle of ring 2 around ring 0.
  float orbitPhase = 0.0f;
  // Copied into scale on every tick.
  float targetScale = 0.1f;
  bool done = false;

 private:
  // Ring 0 keeps its place on the screen when the screen's centre turns out
  // to differ from the one it was placed for, so that it starts in the
  // top-left corner of any screen.
  void followScreen();
  void steer();
  void findStation();
  void drawCircles();
  void wander();

  TwoFloats placedForCentre;
};
