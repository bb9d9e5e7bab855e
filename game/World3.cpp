#include "game/World3.h"

#include <cmath>

World3::World3()
    : World(ThreeFloats(0.9137255f, 0.98039216f, 0.7254902f), ThreeFloats(0.99215686f, 0.58431375f, 0.0f),
            ThreeFloats(0.015686275f, 0.02745098f, 0.23921569f), ThreeFloats(0.6392157f, 0.62352943f, 1.0f),
            ThreeFloats(1.0f, 0.94f, 0.8f), TwoFloats(3920.0f, 640.0f)),
      restingRingColours(ringColours) {}

void World3::barStart() {
  if (flashOnThisBar) flashPhase = 0.02f;
  flashOnThisBar = !flashOnThisBar;
}

void World3::subclassTick() {
  // The oldest frame's path leaves the stroke.
  for (size_t i = strokePath.size() - 1; i > 0; --i) strokePath[i] = strokePath[i - 1];
  strokePath[0] = 0.0f;
  if (flashPhase <= 0.0f) return;
  flashPhase += 0.02f;
  if (flashPhase >= 1.0f) {
    flashPhase = 0.0f;
    setRingColours(restingRingColours.data());
    return;
  }
  const float f = std::cos(2.0f * 3.1415927f * flashPhase) * 0.5f + 0.5f;
  for (int k = 0; k < 3; ++k) ringColours[k] = mix(ThreeFloats(1.0f, 0.0f, 0.0f), restingRingColours[k], f);
}

void World3::mouseMove(const TwoFloats &position) {
  const float moved = distance(lastMousePosition, position);
  if (flashPhase > 0.0f) {
    strokePath[0] += moved;
    float stroke = 0.0f;
    for (const float path : strokePath) stroke += path;
    if (stroke > 64.0f) {
      // The next stroke starts from here.
      strokePath.fill(0.0f);
      if (scale < 0.66f) scale += 0.04f;
      if (scale >= 0.66f) done = true;
    }
  } else if (moved > 256.0f && scale < 0.66f) {
    // Below 0 the rings would be drawn large again.
    scale = std::fmax(0.0f, scale - 0.01f);
  }
  lastMousePosition = position;
}
