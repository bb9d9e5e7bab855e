#include "game/World7.h"

#include "base/Random.h"

#include <cmath>

namespace {

const ThreeFloats specialStation(0.84313726f, 0.32941177f, 0.6666667f);
const ThreeFloats solvedYellow(0.94509804f, 0.90588236f, 0.29803923f);
const float pi = 3.1415927f;

}  // namespace

World7::World7()
    : World(ThreeFloats(0.56078434f, 0.5529412f, 0.15686275f), ThreeFloats(0.94509804f, 0.90588236f, 0.29803923f),
            ThreeFloats(0.8784314f, 0.5686275f, 0.20392157f), ThreeFloats(0.9490196f, 0.95686275f, 0.7019608f),
            ThreeFloats(1.0f, 0.62f, 0.33f), TwoFloats(1696.0f, -700.0f)),
      ringColourSet{ThreeFloats(0.0f, 0.0f, 0.0f), ringColours[1], ringColours[2]},
      placedForCentre(screenCentre()) {
  wanderPoint.x = Random::getGlobal().nextUnit() * 1280.0f;
  wanderPoint.y = Random::getGlobal().nextUnit() * 720.0f;
  int specialRow = 0, specialColumn = 1;
  WorldStations::pickStation(specialRow, specialColumn);
  while (specialColumn == 1) specialColumn = static_cast<int>(Random::getGlobal().nextUnit() * 2.9999f);
  for (int row = 0; row < WorldStations::rows; ++row) {
    for (int column = 0; column < WorldStations::columns; ++column) {
      const bool special = row == specialRow && column == specialColumn;
      stationColours[row][column] = special ? specialStation : WorldStations::randomColour();
    }
  }
  targetSpot = WorldStations::spot(specialRow, specialColumn);
  mousePosition = WorldStations::startAwayFrom(targetSpot);
  calcColours();
  ringPositions[0] = screenToPlane(TwoFloats(0.0f, 0.0f));
}

void World7::calcColours() {
  ringColourSet[0] = WorldStations::blend(stationColours, mousePosition, drawingAreaSize);
  setRingColours(ringColourSet.data());
}

void World7::followScreen() {
  const TwoFloats centre = screenCentre();
  if (samePoint(centre, placedForCentre)) return;
  if (stage == 0) ringPositions[0] = ringPositions[0] - (centre - placedForCentre);
  placedForCentre = centre;
}

void World7::mouseMove(const TwoFloats &position) {
  followScreen();
  mousePosition = position;
  switch (stage) {
    case 0: mousePosition = drawingAreaSize - position; break;
    case 1: calcColours(); break;
    case 2: detector.setMousePos(position); break;
    default: break;
  }
}

void World7::steer() {
  TwoFloats onScreen = planeToScreen(ringPositions[0]);
  if (!samePoint(onScreen, mousePosition)) {
    onScreen = glide(onScreen, mousePosition, 0.05f, 4.0f);
    if (distance(onScreen, screenCentre()) < 32.0f) {
      stage = 1;
      onScreen = screenCentre();
    }
  }
  ringPositions[0] = screenToPlane(onScreen);
}

void World7::findStation() {
  if (distance(mousePosition, WorldStations::onArea(targetSpot, drawingAreaSize)) >= 192.0f) {
    calcColours();
    return;
  }
  ringColourSet[0] = solvedYellow;
  setRingColours(ringColourSet.data());
  stage = 2;
  // Ring 1 stops wandering and settles at the centre.
  wanderPoint = screenCentre();
  wanderFrames = -1;
}

void World7::drawCircles() {
  if (detector.update()) {
    if (targetScale < 0.66f) {
      targetScale += 0.0005f;
      scale = targetScale;
      // 192 at 0.46, narrowing to 0 at 0.66.
      orbitRadius = ((targetScale - 0.46f) / -0.20000002f + 1.0f) * 192.0f;
    }
    if (targetScale >= 0.66f) {
      stage = 3;
      done = true;
    }
  } else if (targetScale > 0.46f) {
    targetScale -= 0.001f;
  }
}

void World7::wander() {
  if (wanderFrames >= 0) {
    const bool due = wanderFrames == 1;
    wanderFrames -= 1;
    if (due) {
      wanderFrames = static_cast<int32_t>(Random::getGlobal().nextUnit() * 30.0f) + 10;
      wanderPoint.x = Random::getGlobal().nextUnit() * drawingAreaSize.x;
      wanderPoint.y = Random::getGlobal().nextUnit() * drawingAreaSize.y;
    }
  }
  const TwoFloats ring1 = planeToScreen(ringPositions[1]);
  if (!samePoint(ring1, wanderPoint)) ringPositions[1] = screenToPlane(glide(ring1, wanderPoint, 0.1f, 1.0f));
}

void World7::subclassTick() {
  followScreen();
  if (stage == 0) steer();
  if (stage == 1 && targetScale >= 0.28f) findStation();
  if (stage == 2) drawCircles();
  wander();
  const float angle = 2.0f * pi * orbitPhase;
  ringPositions[2] = ringPositions[0] + TwoFloats(std::sin(angle) * orbitRadius, std::cos(angle) * orbitRadius);
  orbitPhase += 0.001f;
  if (orbitPhase > 1.0f) orbitPhase -= 1.0f;
  if (stage == 1 && targetScale < 0.28f) targetScale += 0.005f;
  if (stage == 2 && targetScale < 0.46f) targetScale += 0.005f;
  scale = targetScale;
}
