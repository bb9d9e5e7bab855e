#include "framework/app/CmdLineParams.h"
#include "base/CriticalSection.h"
#include "framework/app/GameState.h"
#include "platforms/SDL1.2Backend/SDL1.2Application.h"
#include "base/Thread.h"
#include "game/MurmelGame.h"
#include "framework/app/Platform.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

const MurmelGame murmelGame;

using Clock = std::chrono::steady_clock;

// Times every frame's drawing while the loading screen is current, and stops
// the loop on the title screen's first frame.
class StartUpHook final : public SDL1_2Application::FrameHook {
 public:
  void beforeFrame(SDL1_2Application &app) override {
    const std::wstring name = app.getCurrentState()->getName();
    if (name == L"TitleScreen" && !titleSeen) {
      titleSeen = true;
      titleReached = Clock::now();
      app.quit();
    }
    loading = name == L"LoadingScreen";
    frameStart = Clock::now();
  }
  void afterDraw(SDL1_2Application &app) override {
    if (!loading) return;
    const double took = std::chrono::duration<double>(Clock::now() - frameStart).count();
    if (std::getenv("MURMEL_BENCH_FRAMES"))
      std::fprintf(stderr, "loading frame %ld: %.2f ms\n", app.getFrameCount(), took * 1000);
    slowestStep = std::max(slowestStep, took);
  }
  Clock::time_point frameStart, titleReached;
  bool loading = false;
  bool titleSeen = false;
  double slowestStep = 0.0;
};

// From an empty settings folder to the first title-screen frame, in a
// 1280 x 720 window, with the shipped sound files.
void BM_StartToFirstTitleFrame(benchmark::State &state) {
  Platform::install();
  char folder[] = "/tmp/murmel-bench-XXXXXX";
  if (!mkdtemp(folder)) {
    state.SkipWithError("no temporary folder");
    return;
  }
  setenv("XDG_CONFIG_HOME", folder, 1);
  const std::string data = FilePath::getCurrentExecutableDir().getParent().getChild(L"data").getUtf8Path();
  setenv("MURMEL_WORLDS_DATA", data.c_str(), 1);

  double slowest = 0.0, peakRss = 0.0;
  for (auto _ : state) {
    // A program starts once: each start runs in a child process of its own.
    int channel[2];
    if (pipe(channel) != 0) {
      state.SkipWithError("no pipe");
      break;
    }
    const pid_t child = fork();
    if (child == 0) {
      close(channel[0]);
      const Clock::time_point start = Clock::now();
      StartUpHook hook;
      {
        SDL1_2Application app(murmelGame);
        CmdLineParams params({L"-win", L"-w", L"1280", L"-h", L"720"});
        app.initialise(params);
        app.setFrameHook(&hook);
        app.eventLoop();
      }
      rusage usage;
      getrusage(RUSAGE_SELF, &usage);
      const double figures[3] = {std::chrono::duration<double>(hook.titleReached - start).count(), hook.slowestStep,
                                 static_cast<double>(usage.ru_maxrss) / 1024.0};
      const bool written = write(channel[1], figures, sizeof figures) == static_cast<ssize_t>(sizeof figures);
      _exit(written ? 0 : 1);
    }
    close(channel[1]);
    double figures[3] = {-1, 0, 0};
    const bool read = ::read(channel[0], figures, sizeof figures) == static_cast<ssize_t>(sizeof figures);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!read || figures[0] < 0) {
      state.SkipWithError("the program did not reach its title screen");
      break;
    }
    state.SetIterationTime(figures[0]);
    slowest = std::max(slowest, figures[1]);
    peakRss = std::max(peakRss, figures[2]);
  }
  state.counters["slowest_loading_frame_ms"] = slowest * 1000.0;
  state.counters["peak_rss_MiB"] = peakRss;
  std::system((std::string("rm -rf '") + folder + "'").c_str());
}
BENCHMARK(BM_StartToFirstTitleFrame)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
