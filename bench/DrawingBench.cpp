// The gameplay frame through each drawer beside the same frame in raw
// OpenGL, and the loading screen's step for the circle image: decode and
// upload. Needs a display (Xvfb and llvmpipe here).
#include "framework/app/AppSettings.h"
#include "platforms/SDL1.2Backend/SDL1.2VideoStart.h"
#include "framework/drawing/GLESDrawer.h"
#include "platforms/desktop/drawing/GLImmediateDrawer.h"
#include "framework/drawing/ImageLoader.h"
#include "game/Circle.h"

#include <GL/gl.h>
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

const int width = 1280, height = 720;
const int rings = 24;

// One window for the whole program, and each drawer in it with the circle
// loaded.
struct Scene {
  std::unique_ptr<GLImmediateDrawer> drawer;
  std::unique_ptr<GLESDrawer> esDrawer;
  unsigned int circleTexture = 0;
  TwoFloats circleExtent;

  Scene() {
    if (!SDL1_2VideoStart::start(SDL_INIT_VIDEO) || !SDL_SetVideoMode(width, height, 0, SDL_OPENGL)) {
      std::fprintf(stderr, "DrawingBench: no OpenGL window: %s\n", SDL_GetError());
      std::exit(1);
    }
    esDrawer.reset(new GLESDrawer);
    if (!GLESDrawer::isSupported() || !esDrawer->prepare()) {
      std::fprintf(stderr, "DrawingBench: the context does not run the shader drawer\n");
      std::exit(1);
    }
    drawer.reset(new GLImmediateDrawer);
    for (Drawer *each : {static_cast<Drawer *>(drawer.get()), static_cast<Drawer *>(esDrawer.get())}) {
      each->initialise(width, height, AppSettings());
      const Circle circle;
      ImageLoader::ImageData image =
          ImageLoader().loadImage(reinterpret_cast<const char *>(circle.imageData), circle.imageDataSize);
      each->loadSingleImage(image.data, image.width, image.height, L"Circle");
    }
    const auto *record =
        static_cast<const GLImmediateDrawer::ImmediateImage *>(drawer->getInternalImageData(L"Circle"));
    circleTexture = record->texture;
    circleExtent = record->image.texCoordSize;
  }

  // The drawers share the context: the one about to draw sets its program
  // and projection again.
  Drawer &use(Drawer &next) {
    next.useShader(L"");
    next.resetViewport();
    return next;
  }

  static Scene &get() {
    static Scene scene;
    return scene;
  }
};

float radiusOf(int i) { return 25.0f + (350.0f - 25.0f) * i / (rings - 1); }

ThreeFloats colourOf(int i) { return ThreeFloats(0.3f + 0.02f * i, 0.9f - 0.03f * i, 0.5f); }

void drawGameplayFrame(Drawer &drawer, benchmark::State &state) {
  for (auto _ : state) {
    drawer.beginDrawing();
    drawer.fillRect(TwoFloats(0, 0), TwoFloats(width, height), ThreeFloats(0.1f, 0.1f, 0.2f), 1.0f);
    for (int i = 0; i < rings; ++i) {
      const float scale = radiusOf(i) / 480.0f;
      drawer.drawImage(L"Circle", TwoFloats(640 - 512 * scale, 360 - 512 * scale), TwoFloats(scale, scale), colourOf(i),
                       0.9f);
    }
    drawer.fillRect(TwoFloats(0, 0), TwoFloats(width, height), ThreeFloats(1, 1, 1), 0.2f);
    drawer.endDrawing();
    glFinish();
  }
}

void BM_GameplayFrameDrawer(benchmark::State &state) {
  Scene &scene = Scene::get();
  drawGameplayFrame(scene.use(*scene.drawer), state);
}
BENCHMARK(BM_GameplayFrameDrawer)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void BM_GameplayFrameESDrawer(benchmark::State &state) {
  Scene &scene = Scene::get();
  drawGameplayFrame(scene.use(*scene.esDrawer), state);
}
BENCHMARK(BM_GameplayFrameESDrawer)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void rawQuad(float x, float y, float w, float h, float u, float v) {
  glTexCoord2f(0, 0);
  glVertex2f(x, y);
  glTexCoord2f(u, 0);
  glVertex2f(x + w, y);
  glTexCoord2f(u, v);
  glVertex2f(x + w, y + h);
  glTexCoord2f(0, v);
  glVertex2f(x, y + h);
}

// The same pixels with the least OpenGL can do: positions worked out here,
// the texture bound once per frame, no matrix changes.
void BM_GameplayFrameRawGL(benchmark::State &state) {
  Scene &scene = Scene::get();
  scene.use(*scene.drawer);
  const TwoFloats extent = scene.circleExtent;
  for (auto _ : state) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, 0);
    glColor4f(0.1f, 0.1f, 0.2f, 1.0f);
    glBegin(GL_QUADS);
    rawQuad(0, 0, width, height, 1, 1);
    glEnd();
    glBindTexture(GL_TEXTURE_2D, scene.circleTexture);
    for (int i = 0; i < rings; ++i) {
      const float scale = radiusOf(i) / 480.0f;
      const ThreeFloats c = colourOf(i);
      glColor4f(c.x, c.y, c.z, 0.9f);
      glBegin(GL_QUADS);
      rawQuad(640 - 512 * scale, 360 - 512 * scale, 1024 * scale, 1024 * scale, extent.x, extent.y);
      glEnd();
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glColor4f(1, 1, 1, 0.2f);
    glBegin(GL_QUADS);
    rawQuad(0, 0, width, height, 1, 1);
    glEnd();
    glFinish();
  }
}
BENCHMARK(BM_GameplayFrameRawGL)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void BM_DecodeCirclePng(benchmark::State &state) {
  Scene::get();
  const Circle circle;
  for (auto _ : state) {
    ImageLoader::ImageData image =
        ImageLoader().loadImage(reinterpret_cast<const char *>(circle.imageData), circle.imageDataSize);
    benchmark::DoNotOptimize(image.data);
    delete[] image.data;
  }
}
BENCHMARK(BM_DecodeCirclePng)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_UploadCircle(benchmark::State &state) {
  Scene &scene = Scene::get();
  const Circle circle;
  ImageLoader::ImageData image =
      ImageLoader().loadImage(reinterpret_cast<const char *>(circle.imageData), circle.imageDataSize);
  const size_t bytes = static_cast<size_t>(image.width) * image.height * 4;
  for (auto _ : state) {
    state.PauseTiming();
    unsigned char *copy = new unsigned char[bytes];
    std::memcpy(copy, image.data, bytes);
    state.ResumeTiming();
    scene.drawer->loadSingleImage(copy, image.width, image.height, L"Upload");
    glFinish();
    state.PauseTiming();
    scene.drawer->releaseImage(L"Upload");
    glFinish();
    state.ResumeTiming();
  }
  delete[] image.data;
}
BENCHMARK(BM_UploadCircle)->Unit(benchmark::kMillisecond)->UseRealTime();

// One loading-screen step: decode the PNG and hand it to the drawer.
void BM_DecodeAndUploadCircle(benchmark::State &state) {
  Scene &scene = Scene::get();
  const Circle circle;
  for (auto _ : state) {
    ImageLoader::ImageData image =
        ImageLoader().loadImage(reinterpret_cast<const char *>(circle.imageData), circle.imageDataSize);
    scene.drawer->loadSingleImage(image.data, image.width, image.height, L"Step");
    glFinish();
    state.PauseTiming();
    scene.drawer->releaseImage(L"Step");
    glFinish();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DecodeAndUploadCircle)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
