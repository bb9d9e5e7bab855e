// Gameplay frames through the immediate-mode drawer at 1280 x 720: a journey
// frame with four worlds in view, and a closing frame with all eight. The
// state is brought to the scene through a recording drawer; only frames drawn
// with OpenGL are timed. Needs a display (Xvfb and llvmpipe here).
#include "app/AppSettings.h"
#include "drawing/GLImmediateDrawer.h"
#include "drawing/ImageLoader.h"
#include "game/Circle.h"
#include "game/GamePlayState.h"
#include "game/World.h"

#include "support/FakeApplication.h"
#include "support/GLTestWindow.h"
#include "support/GamePlayDriver.h"
#include "support/RecordingDrawer.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

const int width = 1280, height = 720;

struct Scene {
  GLTestWindow window{width, height};
  boost::shared_ptr<GLImmediateDrawer> drawer{new GLImmediateDrawer};
  FakeApplication app;
  RecordingDrawer recorder{TwoFloats(width, height)};

  Scene() {
    if (!window.isOpen()) {
      std::fprintf(stderr, "GamePlayBench: no OpenGL window: %s\n", window.getError().c_str());
      std::exit(1);
    }
    drawer->initialise(width, height, AppSettings());
    const Circle circle;
    ImageLoader::ImageData image =
        ImageLoader().loadImage(reinterpret_cast<const char *>(circle.imageData), circle.imageDataSize);
    drawer->loadSingleImage(image.data, image.width, image.height, L"Circle");
  }

  static Scene &get() {
    static Scene scene;
    return scene;
  }

  // A silent game state.
  std::unique_ptr<GamePlayState> newState() {
    return std::unique_ptr<GamePlayState>(new GamePlayState(&app, static_cast<GamePlayState::Sounds *>(nullptr)));
  }
  // Keeps the calls of the last frame drawn.
  void untilRecorded(GamePlayState &state, const std::function<bool()> &done) {
    GamePlayDriver::framesUntil(state, recorder, [&] {
      const bool reached = done();
      if (!reached) recorder.calls.clear();
      return reached;
    });
  }
  int worldsInView() const { return static_cast<int>(recorder.callsOf("drawImage").size()) / 3; }
  void frame(GamePlayState &state) {
    drawer->beginDrawing();
    state.draw(drawer);
    drawer->endDrawing();
    glFinish();
  }
};

// Half-way from the first world, finished at full size, to the second, with
// two more worlds on the camera's path.
std::unique_ptr<GamePlayState> halfWayJourney(Scene &scene) {
  std::unique_ptr<GamePlayState> state = scene.newState();
  GamePlayDriver::finish(*state, 0);
  state->getWorld(0).scale = 0.66f;
  state->getWorld(2).setPosition(TwoFloats(1280, 180));
  state->getWorld(2).scale = 0.3f;
  state->getWorld(3).setPosition(TwoFloats(1350, 300));
  state->getWorld(3).scale = 0.3f;
  scene.untilRecorded(*state, [&] { return state->getTravel() >= 0.5f; });
  return state;
}

void BM_JourneyFrameFourWorlds(benchmark::State &bench) {
  Scene &scene = Scene::get();
  std::unique_ptr<GamePlayState> state = halfWayJourney(scene);
  const int inView = scene.worldsInView();
  for (auto _ : bench) {
    // Both ends of the journey stay in view until about 0.68.
    if (state->getTravel() > 0.66f) {
      bench.PauseTiming();
      state = halfWayJourney(scene);
      bench.ResumeTiming();
    }
    scene.frame(*state);
  }
  bench.counters["worlds in view"] = inView;
}
BENCHMARK(BM_JourneyFrameFourWorlds)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// All eight worlds gathered, pulsing once a bar.
std::unique_ptr<GamePlayState> gathered(Scene &scene) {
  std::unique_ptr<GamePlayState> state = scene.newState();
  GamePlayDriver::playTo(*state, scene.recorder, 7);
  GamePlayDriver::finish(*state, 7);
  scene.untilRecorded(*state, [&] { return state->getGatherProgress() >= 1.0f; });
  return state;
}

void BM_ClosingFrameEightWorlds(benchmark::State &bench) {
  Scene &scene = Scene::get();
  std::unique_ptr<GamePlayState> state = gathered(scene);
  const int inView = scene.worldsInView();
  int frames = 0;
  for (auto _ : bench) {
    if (state->getClosingFrames() < 2) {
      bench.PauseTiming();
      state = gathered(scene);
      bench.ResumeTiming();
    }
    // A bar a second at 60 frames a second.
    if (++frames % 60 == 0) state->barStart();
    scene.frame(*state);
  }
  bench.counters["worlds in view"] = inView;
}
BENCHMARK(BM_ClosingFrameEightWorlds)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

}  // namespace
