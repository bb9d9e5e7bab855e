#pragma once

#include "support/RecordingDrawer.h"

#include <vector>

// Consecutive gameplay frames as the drawer is asked to draw them, recorded
// from a silent game brought to a scene: for drawing them again through each
// drawer and in plain OpenGL, call for call the same.
class GamePlayFrames {
 public:
  typedef std::vector<RecordingDrawer::Call> Frame;

  // Half-way from the first world, finished at full size, to the second, with
  // two more worlds on the camera's path: four worlds in view, from the
  // middle of the journey as long as both ends stay in view (17 frames).
  static std::vector<Frame> journey();
  // All eight worlds gathered, pulsing once a bar (a bar a second at 60
  // frames a second).
  static std::vector<Frame> closing(int frameCount);
};
