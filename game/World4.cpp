#include "game/World4.h"

World4::World4()
    : World(ThreeFloats(0.72156864f, 0.44313726f, 0.7058824f), ThreeFloats(0.105882354f, 0.2784314f, 0.6313726f),
            ThreeFloats(0.8f, 0.19215687f, 0.1764706f), ThreeFloats(0.0f, 0.7647059f, 0.7921569f),
            ThreeFloats(1.0f, 0.45f, 0.15f), TwoFloats(4560.0f, -80.0f)) {}

void World4::subclassTick() {
  centreSpot = screenCentre();
  if (!samePoint(ringCentre, mirroredMouse)) {
    ringCentre = glide(ringCentre, mirroredMouse, 0.05f, 1.0f);
    setPosition(screenToPlane(ringCentre));
  }
  const float fromCentre = distance(centreSpot, ringCentre);
  // 0.66 at the centre, 0.066 at 640 units, a little below 0 in the far corners.
  scale = ((fromCentre / -640.0f + 1.0f) * 0.9f + 0.1f) * 0.66f;
  if (fromCentre < 32.0f) {
    ringCentre = centreSpot;
    setPosition(screenToPlane(centreSpot));
    done = true;
  }
}
