#pragma once

#include "game/World.h"

#include <cstdint>

// Calm the jumping rings. The rings jump about the screen every 40 to 69
// frames; every mouse event less than 4 units (or, on a window whose pixels
// are that coarse, a pixel and a half) from the previous one (a slow, small
// movement) adds 0.005 to progress and holds it for 30 frames, after
// which it decays by 0.005 a frame. The calmer, the nearer the centre the
// rings sit and the bigger they are; done when progress reaches 1 (200 slow
// events). Moves of 4 units or more never help.
class World5 final : public World {
 public:
  World5();

  void mouseMove(const TwoFloats &position) override;
  bool worldDone() const override { return done; }
  void subclassTick() override;

  // A new jumpTarget at least 256 units from centreSpot, on this screen.
  void calcJumpPos();

  // 0 ... 1: how calm the world is.
  float progress = 0.0f;
  // Frames left before progress starts to decay.
  int32_t holdFrames = 0;
  TwoFloats lastMousePosition{640.0f, 360.0f};
  // Frames until the next jump.
  int32_t jumpFrames = 0;
  TwoFloats jumpTarget;
  TwoFloats ringCentre;
  // Where the rings come to rest: the screen centre, worked out again on every tick.
  TwoFloats centreSpot{640.0f, 360.0f};
  bool done = false;
};
