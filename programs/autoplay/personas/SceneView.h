#pragma once

#include "base/ThreeFloats.h"
#include "base/TwoFloats.h"

#include <array>

// What the screen shows in one frame, as a person sees it: the only thing a
// persona plays from. Positions and radii in drawing-area units on the screen,
// opacities from 0 to 1. Filled by SceneWatcher.
struct SceneView {
  enum class Screen { loading, title, game };

  struct Ring {
    TwoFloats centre;
    float radius = 0.0f;
    ThreeFloats colour;
    // The world it belongs to, and which of its three rings it is: rings of
    // one world are told apart by their sizes, and stay together on screen.
    int world = -1;
    int index = -1;
  };

  // The ring of that world as drawn; null when it is not on the screen.
  const Ring *ring(int ofWorld, int ringIndex) const;
  // The biggest ring drawn of that world; null when none is on the screen.
  const Ring *largestRing(int ofWorld) const;

  Screen screen = Screen::loading;
  TwoFloats area{1280.0f, 720.0f};
  ThreeFloats background;
  // Eight worlds of three rings each at most.
  std::array<Ring, 24> rings;
  int ringCount = 0;
  // The white flash that ends a world.
  float flash = 0.0f;
  // The black cover of a fade in or out.
  float cover = 0.0f;
  // The title's "any key" prompt: its opacity and where it is drawn.
  float prompt = 0.0f;
  TwoFloats promptCentre;
  TwoFloats promptSize;
  // The world the camera looks at (the one being left while it travels).
  int world = -1;
  bool travelling = false;
  // The worlds gather for the end: nothing more to play.
  bool closing = false;
};
