#pragma once

#include <string>
#include <vector>

// The robot player's milestone lines in its standard output:
// "autoplay: world 3 at frame 2345, 24.50 s, audio frame 1080000"
// (the audio frame only with SDL's disk driver).
struct RobotMark {
  std::string what;
  long frame = 0;
  double seconds = 0.0;
  long audioFrame = -1;
};

std::vector<RobotMark> readRobotMarks(const std::string &output);
// The first mark of that name; nullptr when there is none.
const RobotMark *findRobotMark(const std::vector<RobotMark> &marks, const std::string &what);
