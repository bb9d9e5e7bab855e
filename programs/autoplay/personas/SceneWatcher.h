#pragma once

#include "personas/SceneView.h"

class GamePlayState;
class TitleScreen;

// The persona's eyes: works out what a frame shows from the state's drawn
// fields by the formulas the states draw with, and nothing else (no world's
// targets, stages or done flags). Main thread, between frames.
class SceneWatcher {
 public:
  static SceneView loading(const TwoFloats &area);
  static SceneView title(const TitleScreen &screen, const TwoFloats &area);
  // The closing sequence's drifting background is the state's own and is not read.
  static SceneView game(const GamePlayState &game, const TwoFloats &area);

 private:
  static void addRings(const GamePlayState &game, SceneView &view);
};
