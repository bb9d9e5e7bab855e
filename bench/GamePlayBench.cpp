// Gameplay frames at 1280 x 720: a journey frame with four worlds in view,
// and a closing frame with all eight. BM_JourneyFrame and BM_ClosingFrame
// draw the same recorded frames, call for call, through each drawer and in
// plain OpenGL (RawGLReplay), each in a window of its own; the drawers are
// held to the plain-OpenGL figure. The live benchmarks below them play the
// game state itself through a drawer. Only frames drawn with OpenGL are
// timed; glFinish closes each. Real time is the figure; the counter "process
// CPU ms" adds llvmpipe's drawing threads to the main thread's CPU time and
// is steadier than real time on a busy machine. Needs a display (Xvfb and
// llvmpipe here).
#include "framework/app/AppSettings.h"
#include "framework/drawing/GLESDrawer.h"
#include "platforms/desktop/drawing/GLImmediateDrawer.h"
#include "game/GamePlayState.h"
#include "game/World.h"

#include "support/BuiltInImages.h"
#include "support/FakeApplication.h"
#include "support/GLTestWindow.h"
#include "support/GamePlayDriver.h"
#include "support/GamePlayFrames.h"
#include "support/RawGLReplay.h"
#include "support/RecordingDrawer.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <vector>

namespace {

const int width = 1280, height = 720;

enum class Way { Immediate, Shader, RawGL };

// A window with one way of drawing in it; the window of the benchmark before
// is closed first, so that each starts with OpenGL as a program finds it.
class Stage {
 public:
  static Stage &use(Way way) {
    static std::unique_ptr<Stage> current;
    if (!current || current->way != way) {
      current.reset();
      current.reset(new Stage(way));
    }
    return *current;
  }

  // Draws one recorded frame and waits for its pixels.
  void frame(const GamePlayFrames::Frame &calls) {
    if (raw) {
      if (!raw->draw(calls)) fail("a call RawGLReplay does not replay");
    } else {
      drawer->beginDrawing();
      for (const RecordingDrawer::Call &call : calls) {
        if (call.operation == "fillRect")
          drawer->fillRect(call.position, call.size, call.colour, call.alpha);
        else
          drawer->drawImage(call.name, call.position, call.size, call.colour, call.alpha);
      }
      drawer->endDrawing();
    }
    glFinish();
  }

  boost::shared_ptr<Drawer> drawer;

 private:
  explicit Stage(Way way) : way(way), window(width, height) {
    if (!window.isOpen()) fail(window.getError().c_str());
    if (way == Way::RawGL) {
      raw.reset(new RawGLReplay(width, height));
      return;
    }
    drawer.reset(way == Way::Shader ? static_cast<Drawer *>(new GLESDrawer) : new GLImmediateDrawer);
    drawer->initialise(width, height, AppSettings());
    loadBuiltInImages(*drawer);
  }

  static void fail(const char *why) {
    std::fprintf(stderr, "GamePlayBench: %s\n", why);
    std::exit(1);
  }

  Way way;
  GLTestWindow window;
  std::unique_ptr<RawGLReplay> raw;
};

double processCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

// The recorded frames, played in a loop.
void replayFrames(benchmark::State &bench, Way way, const std::vector<GamePlayFrames::Frame> &frames) {
  Stage &stage = Stage::use(way);
  size_t next = 0;
  const double cpuBefore = processCpuSeconds();
  for (auto _ : bench) {
    stage.frame(frames[next]);
    next = (next + 1) % frames.size();
  }
  bench.counters["process CPU ms"] =
      benchmark::Counter((processCpuSeconds() - cpuBefore) * 1e3, benchmark::Counter::kAvgIterations);
  bench.counters["calls per frame"] = static_cast<double>(frames[0].size());
}

const std::vector<GamePlayFrames::Frame> &journeyFrames() {
  static const std::vector<GamePlayFrames::Frame> frames = GamePlayFrames::journey();
  return frames;
}

const std::vector<GamePlayFrames::Frame> &closingFrames() {
  static const std::vector<GamePlayFrames::Frame> frames = GamePlayFrames::closing(120);
  return frames;
}

// A silent game state.
std::unique_ptr<GamePlayState> newState(FakeApplication &app) {
  return std::unique_ptr<GamePlayState>(new GamePlayState(&app, static_cast<GamePlayState::Sounds *>(nullptr)));
}

// Half-way from the first world, finished at full size, to the second, with
// two more worlds on the camera's path.
std::unique_ptr<GamePlayState> halfWayJourney(FakeApplication &app) {
  std::unique_ptr<GamePlayState> state = newState(app);
  RecordingDrawer recorder;
  GamePlayDriver::finish(*state, 0);
  state->getWorld(0).scale = 0.66f;
  state->getWorld(2).setPosition(TwoFloats(1280, 180));
  state->getWorld(2).scale = 0.3f;
  state->getWorld(3).setPosition(TwoFloats(1350, 300));
  state->getWorld(3).scale = 0.3f;
  GamePlayDriver::framesUntil(*state, recorder, [&] { return state->getTravel() >= 0.5f; });
  return state;
}

void liveFrame(Stage &stage, GamePlayState &state) {
  stage.drawer->beginDrawing();
  state.draw(stage.drawer);
  stage.drawer->endDrawing();
  glFinish();
}

void BM_JourneyFrameFourWorlds(benchmark::State &bench, Way way) {
  Stage &stage = Stage::use(way);
  FakeApplication app;
  std::unique_ptr<GamePlayState> state = halfWayJourney(app);
  for (auto _ : bench) {
    // Both ends of the journey stay in view until about 0.68.
    if (state->getTravel() > 0.66f) {
      bench.PauseTiming();
      state = halfWayJourney(app);
      bench.ResumeTiming();
    }
    liveFrame(stage, *state);
  }
}

// All eight worlds gathered, pulsing once a bar.
std::unique_ptr<GamePlayState> gathered(FakeApplication &app) {
  std::unique_ptr<GamePlayState> state = newState(app);
  RecordingDrawer recorder;
  GamePlayDriver::playTo(*state, recorder, 7);
  GamePlayDriver::finish(*state, 7);
  GamePlayDriver::framesUntil(*state, recorder, [&] { return state->getGatherProgress() >= 1.0f; });
  return state;
}

void BM_ClosingFrameEightWorlds(benchmark::State &bench, Way way) {
  Stage &stage = Stage::use(way);
  FakeApplication app;
  std::unique_ptr<GamePlayState> state = gathered(app);
  int frames = 0;
  for (auto _ : bench) {
    if (state->getClosingFrames() < 2) {
      bench.PauseTiming();
      state = gathered(app);
      bench.ResumeTiming();
    }
    // A bar a second at 60 frames a second.
    if (++frames % 60 == 0) state->barStart(0);
    liveFrame(stage, *state);
  }
}

const struct {
  const char *name;
  Way way;
} ways[] = {{"Immediate", Way::Immediate}, {"Shader", Way::Shader}, {"RawGL", Way::RawGL}};

int registerAll() {
  for (const auto &way : ways) {
    const Way w = way.way;
    benchmark::RegisterBenchmark((std::string("BM_JourneyFrame/") + way.name).c_str(),
                                 [w](benchmark::State &bench) { replayFrames(bench, w, journeyFrames()); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(3.0);
  }
  for (const auto &way : ways) {
    const Way w = way.way;
    benchmark::RegisterBenchmark((std::string("BM_ClosingFrame/") + way.name).c_str(),
                                 [w](benchmark::State &bench) { replayFrames(bench, w, closingFrames()); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(3.0);
  }
  // The game state itself, frame after frame, through each drawer.
  for (const auto &way : ways) {
    if (way.way == Way::RawGL) continue;
    const std::string suffix = way.way == Way::Immediate ? "" : way.name;
    benchmark::RegisterBenchmark(("BM_JourneyFrameFourWorlds" + suffix).c_str(), BM_JourneyFrameFourWorlds, way.way)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(3.0);
    benchmark::RegisterBenchmark(("BM_ClosingFrameEightWorlds" + suffix).c_str(), BM_ClosingFrameEightWorlds, way.way)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(3.0);
  }
  return 0;
}

[[maybe_unused]] const int registered = registerAll();

}  // namespace
