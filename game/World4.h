#pragma once

#include "game/World.h"

// Bring the mirrored rings to the centre. The rings glide towards the mouse
// mirrored through the screen centre (mouse right, rings left; mouse down,
// rings up); the nearer they are to the centre the bigger the world. Done
// once they are within 32 units of the centre: put the mouse on the screen
// centre and wait.
class World4 final : public World {
 public:
  World4();

  void mouseMove(const TwoFloats &position) override { mirroredMouse = drawingAreaSize - position; }
  bool worldDone() const override { return done; }
  void subclassTick() override;

  // drawingAreaSize - last mouse position.
  TwoFloats mirroredMouse;
  // Screen position of the rings, gliding towards mirroredMouse.
  TwoFloats ringCentre;
  // The goal: the screen centre, worked out again on every tick.
  TwoFloats centreSpot{640.0f, 360.0f};
  bool done = false;
};
