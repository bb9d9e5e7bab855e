#include "support/GameProcess.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

// The frame of a milestone in the robot's output ("autoplay: world 3 at frame 2345, ..."); -1 if absent.
long frameOf(const std::string &output, const std::string &what) {
  const size_t at = output.find("autoplay: " + what + " at frame ");
  return at == std::string::npos ? -1 : std::atol(output.c_str() + at + 20 + what.size());
}

// The robot's whole playthrough, uncapped, in a 1280 x 720 window: the time
// from its click on the title screen to the game's own quit, with the frames
// it took and the frames spent in each world (its flash and journey included).
// The fourth world waits two bars of the music, in real time.
void BM_RobotPlaythrough(benchmark::State &state) {
  for (auto _ : state) {
    TempDir home;
    GameProcess robot(GameProcess::builtProgram("murmel-worlds-autoplay"),
                      {"--uncapped", "-win", "-w", "1280", "-h", "720", "--max-frames", "500000"},
                      {"HOME=" + home.path(), "XDG_CONFIG_HOME=", "MURMEL_WORLDS_DATA="});
    const int status = robot.waitForExit(900);
    const std::string output = robot.output();
    long frames = 0;
    double seconds = 0.0;
    const size_t summary = output.find("autoplay: finished: ");
    if (status != 0 || summary == std::string::npos ||
        std::sscanf(output.c_str() + summary, "autoplay: finished: %ld frames from the click to the quit in %lf s",
                    &frames, &seconds) != 2) {
      state.SkipWithError(("the robot did not finish: " + robot.errorOutput()).c_str());
      break;
    }
    state.SetIterationTime(seconds);
    state.counters["frames"] = static_cast<double>(frames);
    state.counters["frames_per_second"] = frames / seconds;
    for (int world = 0; world < 8; ++world) {
      const long from = frameOf(output, "world " + std::to_string(world));
      const long to = frameOf(output, world < 7 ? "world " + std::to_string(world + 1) : "closing");
      state.counters["world" + std::to_string(world) + "_frames"] = static_cast<double>(to - from);
    }
    state.counters["closing_frames"] = static_cast<double>(frameOf(output, "quit") - frameOf(output, "closing"));
  }
}
BENCHMARK(BM_RobotPlaythrough)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
