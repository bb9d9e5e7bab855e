#include "game/World5.h"

#include "base/Random.h"

#include <cmath>

namespace {

const int32_t minJumpFrames = 40;

}  // namespace

World5::World5()
    : World(ThreeFloats(0.38039216f, 0.6039216f, 0.11764706f), ThreeFloats(0.011764706f, 0.0f, 0.2f),
            ThreeFloats(0.101960786f, 0.20784314f, 0.74509805f), ThreeFloats(0.7294118f, 0.8f, 0.8901961f),
            ThreeFloats(1.0f, 0.78f, 0.7f), TwoFloats(4000.0f, -800.0f)) {
  calcJumpPos();
  ringCentre = jumpTarget;
}

void World5::calcJumpPos() {
  // On a screen with no point 256 units from its centre any point will do
  // (otherwise this would never end).
  const bool roomy = distance(TwoFloats(0.0f, 0.0f), drawingAreaSize) * 0.5f > 256.0f;
  do {
    jumpTarget.x = Random::getGlobal().nextUnit() * drawingAreaSize.x;
    jumpTarget.y = Random::getGlobal().nextUnit() * drawingAreaSize.y;
  } while (roomy && distance(jumpTarget, centreSpot) < 256.0f);
}

void World5::mouseMove(const TwoFloats &position) {
  // On a window so coarse that one pixel is 4 units or more, a one-pixel move is as calm as a move can be.
  const float calm = std::fmax(4.0f, 1.5f * std::fmax(pixelSize.x, pixelSize.y));
  if (distance(lastMousePosition, position) < calm) {
    holdFrames = 30;
    progress += 0.005f;
    if (progress >= 1.0f) {
      done = true;
      setPosition(homePosition);
    }
  }
  lastMousePosition = position;
}

void World5::subclassTick() {
  if (done) return;
  centreSpot = screenCentre();
  if (holdFrames == 0 && progress > 0.0f) progress = progress > 0.005f ? progress - 0.005f : 0.0f;
  // A twentieth of the way a frame: swept faster, the bands of grown rings flashed over the screen.
  if (!samePoint(ringCentre, jumpTarget)) ringCentre = glide(ringCentre, jumpTarget, 0.05f, 1.0f);
  scale = progress * 0.61f + 0.05f;
  setPosition(screenToPlane(centreSpot * progress + ringCentre * (1.0f - progress)));
  jumpFrames -= 1;
  if (jumpFrames < 1) {
    // At least two thirds of a second apart: each jump sweeps the rings' dark
    // and pale bands across the screen, and quicker jumps of grown rings
    // flashed more than three times a second.
    jumpFrames = static_cast<int32_t>(Random::getGlobal().nextUnit() * 30.0f) + minJumpFrames;
    calcJumpPos();
  }
  if (holdFrames != 0) holdFrames -= 1;
}
