#pragma once

#include <chrono>
#include <cstdio>

// Notes when each red flash of the world of bars reaches the picture, to be
// set beside when its bar is heard. After every frame drawn in that world it
// looks at the pixel in the screen's centre, which the world's innermost ring
// covers, and prints the time of the first frame of each flash on the steady
// clock as a milestone:
//   autoplay: red flash at 1234.567890 s
// A flash starts gently (its red eases in), so any step towards red from the
// ring's resting colour counts. Only that pixel is read back: a whole frame
// each frame would hold a browser's page up long enough to starve its sound.
// Main thread, with the game's OpenGL context current.
class RingFlashWatch final {
 public:
  using Clock = std::chrono::steady_clock;

  // Steps of red minus blue (0-255) that tell a flash from a resting ring.
  static constexpr int Threshold = 2;

  // A frame of the world of bars, just drawn in a window of that many pixels, at drawnAt.
  void frame(int width, int height, Clock::time_point drawnAt);
  // Any other frame: the next frame of the world starts afresh.
  void elsewhere() { resting = false; }

  int flashes() const { return count; }

 private:
  // Red minus blue of the ring at rest, once a frame at rest has been seen.
  bool resting = false;
  int restingRedness = 0;
  bool flashing = false;
  int count = 0;
};
