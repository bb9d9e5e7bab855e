#pragma once

#include "game/World.h"


// Move in time with the red flash. On every second bar of the music the rings
// flash red for 50 frames; during a flash every stroke of more than 64 units
// grows the world by 0.04: a mouse event that far from the previous one, or
// several events within any tenth of a second (6 frames) that add up to it, as
// a hand's shake arrives one merged move a frame. Between flashes an event
// more than 256 units from the previous one shrinks it by 0.01 (never below
// 0), so keep still (or move gently) then. Done at scale 0.66.
class World3 final : public World {
 public:
  World3();

  void mouseMove(const TwoFloats &position) override;
  bool worldDone() const override { return done; }
  void subclassTick() override;
  void barStart() override;

  std::array<ThreeFloats, 3> restingRingColours;
  // 0 = no flash; otherwise 0.02 ... 1 progress of the red flash.
  float flashPhase = 0.0f;
  TwoFloats lastMousePosition;
  // The path the mouse moved in each of the last frames of a flash, this
  // frame's first: the stroke under way, counted once it is long enough.
  std::array<float, 6> strokePath{};
  // Toggled at every bar; a flash starts on the bars where it was true.
  bool flashOnThisBar = false;
  bool done = false;
};
