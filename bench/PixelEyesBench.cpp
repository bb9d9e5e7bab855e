#include "personas/PixelEyes.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

// A world's frame at the window's size: a flat background with three nested
// discs and a fourth apart, their edges soft over two pixels.
std::vector<unsigned char> worldFrame(int width, int height) {
  struct Disc {
    float x, y, r;
    unsigned char rgb[3];
  };
  const float s = width / 1280.0f;
  const Disc discs[] = {{640 * s, 360 * s, 150 * s, {235, 107, 107}},
                        {640 * s, 360 * s, 100 * s, {0, 214, 221}},
                        {640 * s, 360 * s, 40 * s, {255, 151, 53}},
                        {1000 * s, 200 * s, 60 * s, {230, 246, 184}}};
  std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      float c[3] = {51, 56, 178};
      for (const Disc &d : discs) {
        const float cover = std::fmin(1.0f, std::fmax(0.0f, (d.r - std::hypot(x - d.x, y - d.y)) / 2.0f)) * 0.9f;
        for (int k = 0; k < 3; ++k) c[k] += (d.rgb[k] - c[k]) * cover;
      }
      for (int k = 0; k < 3; ++k) rgb[(static_cast<size_t>(y) * width + x) * 3 + k] = static_cast<unsigned char>(c[k]);
    }
  }
  return rgb;
}

// What a persona's eyes cost a frame, at the window sizes the robot plays.
void BM_PixelEyesLook(benchmark::State &state) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  const std::vector<unsigned char> frame = worldFrame(width, height);
  PixelEyes eyes;
  Glance glance;
  for (auto _ : state) {
    eyes.look(frame.data(), width, height, false, TwoFloats(1280.0f, 1280.0f * height / width), glance);
    benchmark::DoNotOptimize(glance.discCount);
  }
  state.counters["discs"] = glance.discCount;
}
BENCHMARK(BM_PixelEyesLook)->Args({1280, 720})->Args({1920, 1080})->Args({540, 960})->Unit(benchmark::kMillisecond);

}  // namespace
