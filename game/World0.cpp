#include "game/World0.h"

#include "base/Random.h"

#include <cmath>

namespace {

const ThreeFloats grey115(0.4509804f, 0.4509804f, 0.4509804f);
const ThreeFloats grey182(0.7137255f, 0.7137255f, 0.7137255f);
const ThreeFloats grey111(0.43529412f, 0.43529412f, 0.43529412f);
const ThreeFloats grey155(0.60784316f, 0.60784316f, 0.60784316f);

}  // namespace

World0::World0()
    : World(grey115, grey182, grey111, grey155, ThreeFloats(1.0f, 0.75f, 0.65f), TwoFloats(640.0f, 360.0f)),
      coolRingColours{grey182, grey111, grey155},
      warmRingColours{ThreeFloats(1.0f, 0.42352942f, 0.42352942f), ThreeFloats(0.0f, 0.84313726f, 0.8666667f),
                      ThreeFloats(1.0f, 0.5921569f, 0.20784314f)},
      coolBackground(grey115),
      warmBackground(0.8f, 0.15f, 0.1f) {
  const float angle = Random::getGlobal().nextUnit() * 2.0f * 3.1415927f;
  const float radius = 256.0f + Random::getGlobal().nextUnit() * 104.0f;
  hiddenSpot = TwoFloats(640.0f + std::sin(angle) * radius, 360.0f + std::cos(angle) * radius);
}

TwoFloats World0::spotOnScreen() const {
  const TwoFloats offset = hiddenSpot - referenceCentre();
  const float squash = std::fmin(1.0f, drawingAreaSize.y / (2.0f * referenceCentre().y));
  return screenCentre() + TwoFloats(offset.x, offset.y * squash);
}

void World0::colourForDistance(float distance) {
  if (distance >= 256.0f) {
    growthFactor = 0.0f;
    setRingColours(coolRingColours.data());
    backgroundColour = coolBackground;
  } else if (distance >= 4.0f) {
    const float t = distance * 0.00390625f;
    growthFactor = t;
    for (int k = 0; k < 3; ++k) ringColours[k] = mix(warmRingColours[k], coolRingColours[k], t);
    backgroundColour = mix(warmBackground, coolBackground, t);
  } else {
    followPoint = spotOnScreen();
    growthFactor = 1.0f;
    setRingColours(warmRingColours.data());
    backgroundColour = warmBackground;
  }
}

void World0::mouseMove(const TwoFloats &position) {
  followPoint = position;
  colourForDistance(distance(spotOnScreen(), position));
}

void World0::subclassTick() {
  if (growthFactor > 0.0f && scale < 0.66f) {
    scale += growthFactor * 0.001f + 0.0015f;
    const TwoFloats spot = spotOnScreen();
    if (!samePoint(followPoint, spot)) {
      followPoint = followPoint + (spot - followPoint) * 0.05f;
      colourForDistance(distance(spot, followPoint));
    }
  }
  if (scale >= 0.66f) done = true;
}
