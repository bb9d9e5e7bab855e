#include "game/World6.h"

World6::World6()
    : World(ThreeFloats(0.0f, 0.0f, 0.0f), ThreeFloats(0.85490197f, 0.45882353f, 0.45882353f),
            ThreeFloats(0.9647059f, 0.32941177f, 0.20784314f), ThreeFloats(0.827451f, 0.5764706f, 0.6039216f),
            ThreeFloats(1.0f, 0.46f, 0.23f), TwoFloats(2720.0f, -900.0f)),
      ownRingColours(ringColours) {
  int chosenRow[3] = {-1, -1, -1}, chosenColumn[3] = {-1, -1, -1};
  for (int k = 0; k < 3; ++k) {
    bool taken = true;
    while (taken) {
      WorldStations::pickStation(chosenRow[k], chosenColumn[k]);
      taken = false;
      for (int earlier = 0; earlier < k; ++earlier)
        taken = taken || (chosenRow[earlier] == chosenRow[k] && chosenColumn[earlier] == chosenColumn[k]);
    }
    const ThreeFloats &own = ownRingColours[k];
    currentRingColours[k] = ThreeFloats(1.0f - own.x, 1.0f - own.y, 1.0f - own.z);
    for (int row = 0; row < WorldStations::rows; ++row) {
      for (int column = 0; column < WorldStations::columns; ++column) {
        const bool ownStation = row == chosenRow[k] && column == chosenColumn[k];
        stationColours[row][column][k] = ownStation ? own : WorldStations::randomColour();
      }
    }
    spots[k] = WorldStations::spot(chosenRow[k], chosenColumn[k]);
  }
  mousePosition = WorldStations::startAwayFrom(spots[0]);
  calcColours(0);
}

void World6::calcColours(int ring) {
  WorldStations::Table table;
  for (int row = 0; row < WorldStations::rows; ++row)
    for (int column = 0; column < WorldStations::columns; ++column)
      table[row][column] = stationColours[row][column][ring];
  currentRingColours[ring] = WorldStations::blend(table, mousePosition, drawingAreaSize);
  setRingColours(currentRingColours.data());
}

void World6::mouseMove(const TwoFloats &position) {
  if (done) return;
  mousePosition = position;
  if (stage <= 2) calcColours(stage);
}

void World6::subclassTick() {
  if (stage <= 2 && distance(mousePosition, WorldStations::onArea(spots[stage], drawingAreaSize)) < 256.0f) {
    currentRingColours[stage] = ownRingColours[stage];
    setRingColours(currentRingColours.data());
    stage += 1;
  }
  static const float caps[4] = {0.0f, 0.28f, 0.46f, 0.66f};
  if (targetScale < caps[stage]) targetScale += 0.01f;
  scale = targetScale;
  if (targetScale >= 0.66f) done = true;
}
