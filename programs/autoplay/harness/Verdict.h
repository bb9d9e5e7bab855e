#pragma once

#include "framework/sound/CallbackTimer.h"

#include <cstddef>
#include <string>
#include <vector>

class Robot;
class Timeline;

// How a robot's run ended, printed as the desktop program and the page both
// print it: "autoplay: finished: …" on standard output, or why not on
// standard error. Each returns the exit status it comes to.
namespace Verdict {

// The program's name, before each complaint.
extern const char *const programName;

// 0 with the finishing line when the robot finished; 1 with where it got stuck.
int ofPlay(const Robot &robot, const Timeline &timeline, long maxFrames);

// One line of figures for the calls from `first` on; the number of late calls.
std::size_t reportCalls(const std::string &what, const std::vector<CallbackTimer::Record> &calls, std::size_t first,
                        double rate);

}  // namespace Verdict
