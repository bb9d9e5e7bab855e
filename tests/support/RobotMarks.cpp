#include "support/RobotMarks.h"

#include <cstdlib>
#include <sstream>

std::vector<RobotMark> readRobotMarks(const std::string &output) {
  std::vector<RobotMark> marks;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    const size_t at = line.find(" at frame ");
    if (line.rfind("autoplay: ", 0) != 0 || at == std::string::npos) continue;
    RobotMark mark;
    mark.what = line.substr(10, at - 10);
    char *end = nullptr;
    mark.frame = std::strtol(line.c_str() + at + 10, &end, 10);
    if (end && end[0] == ',') mark.seconds = std::strtod(end + 1, nullptr);
    const size_t audio = line.find("audio frame ");
    if (audio != std::string::npos) mark.audioFrame = std::atol(line.c_str() + audio + 12);
    marks.push_back(mark);
  }
  return marks;
}

const RobotMark *findRobotMark(const std::vector<RobotMark> &marks, const std::string &what) {
  for (const RobotMark &mark : marks)
    if (mark.what == what) return &mark;
  return nullptr;
}
