#include "game/World.h"

#include <gtest/gtest.h>

namespace {

class PlainWorld final : public World {
 public:
  PlainWorld(const TwoFloats &home)
      : World(ThreeFloats(0.1f, 0.2f, 0.3f), ThreeFloats(1, 0, 0), ThreeFloats(0, 1, 0), ThreeFloats(0, 0, 1),
              ThreeFloats(1, 0.5f, 0.25f), home) {}
  void mouseMove(const TwoFloats &) override {}
  bool worldDone() const override { return false; }
};

TEST(World, SetPositionAndSetRingColoursEachChangeOnlyTheirOwnFields) {
  PlainWorld world(TwoFloats(640, 360));
  EXPECT_FLOAT_EQ(world.scale, 0.05f);
  // Ring 0 of relative size 1 is 51.2 units wide at the starting scale.
  EXPECT_FLOAT_EQ(2.0f * world.ringSizes.x * world.scale * 512.0f, 51.2f);
  for (const TwoFloats &ring : world.ringPositions) EXPECT_TRUE(World::samePoint(ring, TwoFloats(640, 360)));

  world.barStart();
  world.subclassTick();
  const ThreeFloats colours[3] = {ThreeFloats(0.5f, 0.5f, 0.5f), ThreeFloats(0.25f, 0, 1), ThreeFloats(0, 0, 0)};
  world.setRingColours(colours);
  world.setPosition(TwoFloats(10, -20));
  for (int k = 0; k < 3; ++k) {
    EXPECT_TRUE(World::sameColour(world.ringColours[k], colours[k])) << k;
    EXPECT_TRUE(World::samePoint(world.ringPositions[k], TwoFloats(10, -20))) << k;
  }
  EXPECT_TRUE(World::samePoint(world.homePosition, TwoFloats(640, 360)));
  EXPECT_TRUE(World::sameColour(world.backgroundColour, ThreeFloats(0.1f, 0.2f, 0.3f)));
  EXPECT_FLOAT_EQ(world.scale, 0.05f);
}

TEST(World, ScreenAndPlaneMeetAtTheScreenCentre) {
  struct Case {
    TwoFloats area, screen, plane;
  };
  // Home (4560, -80): the screen centre shows the home position on any shape.
  const Case cases[] = {
      {TwoFloats(1280, 720), TwoFloats(640, 360), TwoFloats(4560, -80)},
      {TwoFloats(1280, 720), TwoFloats(0, 0), TwoFloats(3920, -440)},
      {TwoFloats(1280, 540), TwoFloats(640, 270), TwoFloats(4560, -80)},
      {TwoFloats(1280, 540), TwoFloats(0, 0), TwoFloats(3920, -350)},
      {TwoFloats(1280, 960), TwoFloats(1280, 960), TwoFloats(5200, 400)},
  };
  for (const Case &c : cases) {
    PlainWorld world(TwoFloats(4560, -80));
    world.drawingAreaSize = c.area;
    EXPECT_TRUE(World::samePoint(world.screenToPlane(c.screen), c.plane)) << c.area.y << " " << c.screen.x;
    EXPECT_TRUE(World::samePoint(world.planeToScreen(c.plane), c.screen)) << c.area.y << " " << c.screen.x;
  }
}

TEST(World, GlideLandsOnItsTargetOnceCloserThanTheSnap) {
  TwoFloats p(0, 0);
  int steps = 0;
  while (!World::samePoint(p, TwoFloats(100, 0)) && steps < 1000) {
    p = World::glide(p, TwoFloats(100, 0), 0.05f, 4.0f);
    ++steps;
  }
  // 100 * 0.95^n < 4 first at n = 63.
  EXPECT_EQ(steps, 63);
}

}  // namespace
