#include "harness/Verdict.h"

#include "harness/Robot.h"
#include "harness/Timeline.h"

#include <cstdio>

const char *const Verdict::programName = "murmel-worlds-autoplay";

int Verdict::ofPlay(const Robot &robot, const Timeline &timeline, long maxFrames) {
  if (robot.finished()) {
    const Timeline::Mark *click = timeline.find("click"), *quit = timeline.find("quit");
    if (click && quit) {
      const double seconds = quit->seconds - click->seconds;
      std::printf("autoplay: finished: %ld frames from the click to the quit in %.2f s (%.0f frames a second)\n",
                  quit->frame - click->frame, seconds, seconds > 0 ? (quit->frame - click->frame) / seconds : 0.0);
    }
    return 0;
  }
  if (!robot.playerGaveUpWhy().empty())
    std::fprintf(stderr, "%s: %s\n", programName, robot.playerGaveUpWhy().c_str());
  else if (robot.gaveUp())
    std::fprintf(stderr, "%s: stuck %s after %ld frames\n", programName, robot.where().c_str(), maxFrames);
  else
    std::fprintf(stderr, "%s: the game ended %s before it was finished\n", programName, robot.where().c_str());
  return 1;
}

std::size_t Verdict::reportCalls(const std::string &what, const std::vector<CallbackTimer::Record> &calls,
                                 std::size_t first, double rate) {
  const CallbackTimer::Summary summary = CallbackTimer::summarise(calls, rate, 999);
  std::printf(
      "autoplay: %s: %zu timed, worst %.2f ms (call %zu), 99.9th percentile %.2f ms, mean %.2f ms, "
      "against %.2f ms a block: %zu late\n",
      what.c_str(), summary.count, summary.worstNanoseconds / 1e6, first + summary.worstCall + 1,
      summary.percentileNanoseconds / 1e6, summary.meanNanoseconds / 1e6, summary.budgetNanoseconds / 1e6,
      summary.lateCount);
  return summary.lateCount;
}
