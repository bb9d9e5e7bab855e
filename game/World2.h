#pragma once

#include "game/CircleDetector.h"
#include "game/World.h"

// Draw circles with the mouse: the world grows on every frame on which the
// last 32 frames of mouse positions went round in a ring (more than 10 units
// from its centre, radius steady); a still mouse never grows it. Done at
// scale 0.66.
class World2 final : public World {
 public:
  World2();

  void mouseMove(const TwoFloats &position) override { detector.setMousePos(position); }
  bool worldDone() const override { return done; }
  void subclassTick() override;

  CircleDetector detector;
  bool done = false;
};
