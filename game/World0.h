#pragma once

#include "game/World.h"

// Find a hidden spot. The player moves the mouse about: within 256 units of
// the spot the colours warm up (grey to red, cyan and orange on a red
// background) and the world grows; held still there, the colours go on
// warming by themselves as the point glides to the spot. Done at scale 0.66.
class World0 final : public World {
 public:
  World0();

  void mouseMove(const TwoFloats &position) override;
  bool worldDone() const override { return done; }
  void subclassTick() override;

  // Where the hidden spot lies on this screen: hiddenSpot is placed for a
  // 1280 x 720 area and moves with the screen's centre; on an area less
  // than 720 high its height above or below the centre shrinks in
  // proportion, so that it always lies inside the area.
  TwoFloats spotOnScreen() const;

  // Last mouse position, gliding towards the spot while the world grows.
  TwoFloats followPoint{640.0f, 360.0f};
  std::array<ThreeFloats, 3> coolRingColours;
  std::array<ThreeFloats, 3> warmRingColours;
  ThreeFloats coolBackground;
  ThreeFloats warmBackground;
  // Between 256 and 360 units from the centre of a 1280 x 720 screen.
  TwoFloats hiddenSpot;
  // 0 = not growing; otherwise the distance / 256, or 1 at the spot.
  float growthFactor = 0.0f;
  bool done = false;

 private:
  void colourForDistance(float distance);
};
