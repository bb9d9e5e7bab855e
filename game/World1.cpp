#include "game/World1.h"

World1::World1()
    : World(ThreeFloats(0.19607843f, 0.21960784f, 0.7058824f), ThreeFloats(0.84313726f, 0.32941177f, 0.6666667f),
            ThreeFloats(0.7254902f, 0.70980394f, 1.0f), ThreeFloats(0.84313726f, 0.32941177f, 0.32941177f),
            ThreeFloats(1.0f, 0.6f, 0.38f), TwoFloats(1920.0f, 0.0f)),
      ownRingColours(ringColours) {
  int ownRow = 0, ownColumn = 0;
  WorldStations::pickStation(ownRow, ownColumn);
  for (int row = 0; row < WorldStations::rows; ++row) {
    for (int column = 0; column < WorldStations::columns; ++column) {
      const bool own = row == ownRow && column == ownColumn;
      for (int ring = 0; ring < 3; ++ring)
        stationColours[ring][row][column] = own ? ownRingColours[ring] : WorldStations::randomColour();
    }
  }
  targetSpot = WorldStations::spot(ownRow, ownColumn);
  mousePosition = WorldStations::startAwayFrom(targetSpot);
  calcColours();
}

void World1::calcColours() {
  ThreeFloats colours[3];
  for (int ring = 0; ring < 3; ++ring)
    colours[ring] = WorldStations::blend(stationColours[ring], mousePosition, drawingAreaSize);
  setRingColours(colours);
}

void World1::mouseMove(const TwoFloats &position) {
  if (done) return;
  mousePosition = position;
  calcColours();
}

void World1::subclassTick() {
  if (distance(mousePosition, WorldStations::onArea(targetSpot, drawingAreaSize)) >= 256.0f) return;
  bool settled = true;
  for (int k = 0; k < 3; ++k) settled = settled && sameColour(ringColours[k], ownRingColours[k]);
  if (!settled) {
    ThreeFloats colours[3];
    for (int k = 0; k < 3; ++k) {
      colours[k] = ringColours[k] + (ownRingColours[k] - ringColours[k]) * 0.05f;
      if (colourDistance(colours[k], ownRingColours[k]) < 0.01f) colours[k] = ownRingColours[k];
    }
    setRingColours(colours);
  }
  if (scale < 0.66f) scale += 0.0025f;
  if (scale >= 0.66f) {
    setRingColours(ownRingColours.data());
    done = true;
  }
}
