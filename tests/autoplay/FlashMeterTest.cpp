#include "harness/FlashMeter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

struct Rgb {
  unsigned char r, g, b;
};

constexpr Rgb Black{0, 0, 0};
constexpr Rgb White{255, 255, 255};
// Relative luminance about 0.83: with white, a change of 0.17 above 0.8.
constexpr Rgb LightGrey{235, 235, 235};
constexpr Rgb SaturatedRed{255, 0, 0};
// Bright enough to flash against black, too little red to be saturated.
constexpr Rgb Pink{255, 160, 160};
// Saturated too, but its redness differs from pure red's by less than 20.
constexpr Rgb NearlyRed{250, 0, 0};

// The first colour in the first half of each period.
Rgb alternate(int frame, double hertz, Rgb first, Rgb second) {
  const long halfPeriods = static_cast<long>(frame * 2 * hertz / FlashMeter::FramesPerSecond);
  return halfPeriods % 2 == 0 ? first : second;
}

bool inSquare(int x, int y, int side) { return x >= 40 && x < 40 + side && y >= 40 && y < 40 + side; }

struct Scene {
  const char *name;
  int width, height, frameCount;
  Rgb (*paint)(int frame, int x, int y);
  int generalFlashes, redFlashes;
  // The frame of the first change; the worst second is dated within its first 17 frames.
  int firstChange;
};

const Scene scenes[] = {
    {"white and black at 10 Hz", 128, 96, 120, [](int f, int, int) { return alternate(f, 10, White, Black); }, 10, 0,
     3},
    {"white and black at 10 Hz, cells cut by the edges", 131, 77, 120,
     [](int f, int, int) { return alternate(f, 10, White, Black); }, 10, 0, 3},
    {"one white flash of 34 frames over grey", 128, 96, 180,
     [](int f, int, int) {
       const int rise = std::max(0, 17 - std::abs(f - 77));
       const auto level = static_cast<unsigned char>(100 + 155 * rise / 17);
       return Rgb{level, level, level};
     },
     1, 0, 61},
    {"a rise and fall that wobbles on the way", 128, 96, 150,
     [](int f, int, int) {
       // Every other frame dips back by less than a step.
       const int rise = std::max(0, 40 - std::abs(f - 60));
       const auto level = static_cast<unsigned char>(std::max(0, 255 * rise / 40 - (f % 2 == 1 ? 10 : 0)));
       return Rgb{level, level, level};
     },
     1, 0, 21},
    {"white and black at 3 Hz", 128, 96, 180, [](int f, int, int) { return alternate(f, 3, White, Black); }, 3, 0, 10},
    {"white and black at 4 Hz", 128, 96, 180, [](int f, int, int) { return alternate(f, 4, White, Black); }, 4, 0, 8},
    {"a square under a quarter of the field at 10 Hz", 128, 96, 120,
     [](int f, int x, int y) { return inSquare(x, y, 12) ? alternate(f, 10, White, Black) : Black; }, 0, 0, 3},
    {"a square over a quarter of the field at 10 Hz", 128, 96, 120,
     [](int f, int x, int y) { return inSquare(x, y, 24) ? alternate(f, 10, White, Black) : Black; }, 10, 0, 3},
    {"a fade from black to white over 2 s", 128, 96, 180,
     [](int f, int, int) {
       const auto level = static_cast<unsigned char>(std::min(255, 255 * f / 120));
       return Rgb{level, level, level};
     },
     0, 0, 1},
    {"white and light grey at 10 Hz", 128, 96, 120, [](int f, int, int) { return alternate(f, 10, White, LightGrey); },
     0, 0, 3},
    {"saturated red and black at 5 Hz on half the frame", 128, 96, 120,
     [](int f, int x, int) { return x < 64 ? alternate(f, 5, SaturatedRed, Black) : Black; }, 5, 5, 6},
    {"pink and black at 5 Hz", 128, 96, 120, [](int f, int, int) { return alternate(f, 5, Pink, Black); }, 5, 0, 6},
    {"two close reds at 5 Hz", 128, 96, 120, [](int f, int, int) { return alternate(f, 5, SaturatedRed, NearlyRed); },
     0, 0, 6},
};

FlashMeter::Report play(const Scene &scene) {
  FlashMeter meter;
  std::vector<unsigned char> frame(static_cast<size_t>(scene.width) * scene.height * 3);
  for (int f = 0; f < scene.frameCount; ++f) {
    unsigned char *pixel = frame.data();
    for (int y = 0; y < scene.height; ++y) {
      for (int x = 0; x < scene.width; ++x, pixel += 3) {
        const Rgb colour = scene.paint(f, x, y);
        pixel[0] = colour.r;
        pixel[1] = colour.g;
        pixel[2] = colour.b;
      }
    }
    meter.addFrame(frame.data(), scene.width, scene.height);
  }
  return meter.report();
}

void expectWorst(const FlashMeter::Worst &worst, int flashes, const Scene &scene, const char *kind) {
  EXPECT_EQ(flashes, worst.flashes) << scene.name << ", " << kind;
  if (flashes == 0) return;
  EXPECT_GE(worst.fromFrame, scene.firstChange) << scene.name << ", " << kind;
  EXPECT_LT(worst.fromFrame, scene.firstChange + 17) << scene.name << ", " << kind;
}

}  // namespace

TEST(FlashMeter, CountsTheWorstSecondOfEachKind) {
  for (const Scene &scene : scenes) {
    const FlashMeter::Report report = play(scene);
    EXPECT_EQ(scene.frameCount, report.frameCount) << scene.name;
    expectWorst(report.general, scene.generalFlashes, scene, "general");
    expectWorst(report.red, scene.redFlashes, scene, "red");
    const bool passes = scene.generalFlashes <= 3 && scene.redFlashes <= 3;
    EXPECT_EQ(passes, report.passes()) << scene.name;
  }
}

TEST(FlashMeter, DescribesItsReportInOneLine) {
  FlashMeter::Report report;
  report.frameCount = 612;
  report.general = FlashMeter::Worst{1, 120};
  EXPECT_EQ(
      "flash report: 612 frames, worst second 1 general flash (from frame 120), 0 red flashes: "
      "passes WCAG 2.3.1 (at most 3 a second)",
      report.describe());
  report.red = FlashMeter::Worst{5, 3};
  EXPECT_EQ(
      "flash report: 612 frames, worst second 1 general flash (from frame 120), 5 red flashes (from frame 3): "
      "fails WCAG 2.3.1 (at most 3 a second)",
      report.describe());
}
