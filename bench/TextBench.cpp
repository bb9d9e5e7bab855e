// A 400-character paragraph drawn every frame through the immediate-mode
// drawer: from a layout the caller keeps, and laid out afresh each frame.
// Needs a display (Xvfb and llvmpipe here) and fonts-quicksand.
#include "framework/app/AppSettings.h"
#include "platforms/SDL1.2Backend/SDL1.2VideoStart.h"
#include "platforms/desktop/drawing/GLImmediateDrawer.h"

#include <GL/gl.h>
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

const int width = 1280, height = 720;
const ThreeFloats white(1.0f, 1.0f, 1.0f);

// One window and drawer for the whole program, with the font loaded.
struct Scene {
  std::unique_ptr<GLImmediateDrawer> drawer;
  std::wstring paragraph;

  Scene() {
    if (!SDL1_2VideoStart::start(SDL_INIT_VIDEO) || !SDL_SetVideoMode(width, height, 0, SDL_OPENGL)) {
      std::fprintf(stderr, "TextBench: no OpenGL window: %s\n", SDL_GetError());
      std::exit(1);
    }
    drawer.reset(new GLImmediateDrawer);
    drawer->initialise(width, height, AppSettings());
    drawer->loadFont(L"Quicksand-Light", 32.0f, L"Caption");
    if (!drawer->getInternalImageData(L"CaptionA")) {
      std::fprintf(stderr, "TextBench: Quicksand Light is missing (scripts/install-deps.sh)\n");
      std::exit(1);
    }
    const std::wstring sentence = L"Welcome, traveller. Eight small worlds are waiting for you. ";
    while (paragraph.size() < 400) paragraph += sentence;
    paragraph.resize(400);
  }

  static Scene &get() {
    static Scene scene;
    return scene;
  }
};

void drawFrames(benchmark::State &state, bool keepLayout) {
  Scene &scene = Scene::get();
  TextLayout layout;
  for (auto _ : state) {
    scene.drawer->beginDrawing();
    if (keepLayout)
      scene.drawer->drawText(scene.paragraph, L"Caption", layout, TwoFloats(140, 100), 1000, TextLayout::Centre, 1.0f,
                             white, 1.0f);
    else
      scene.drawer->drawText(scene.paragraph, L"Caption", TwoFloats(140, 100), 1000, TextLayout::Centre, 1.0f, white,
                             1.0f);
    scene.drawer->endDrawing();
    // The frame is done when llvmpipe has drawn it.
    glFinish();
  }
  state.SetItemsProcessed(state.iterations() * 400);
}

void BM_ParagraphWithHeldLayout(benchmark::State &state) { drawFrames(state, true); }
void BM_ParagraphLaidOutEachFrame(benchmark::State &state) { drawFrames(state, false); }

}  // namespace

BENCHMARK(BM_ParagraphWithHeldLayout)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParagraphLaidOutEachFrame)->Unit(benchmark::kMicrosecond);
