#include "personas/PixelEyes.h"

#include "framework/app/AppSettings.h"
#include "platforms/desktop/drawing/GLImmediateDrawer.h"
#include "support/BuiltInImages.h"
#include "support/GLTestWindow.h"

#include <gtest/gtest.h>

#include <boost/shared_ptr.hpp>

#include <cmath>
#include <memory>
#include <vector>

namespace {

ThreeFloats grey(int level) { return ThreeFloats(level / 255.0f, level / 255.0f, level / 255.0f); }

// A ring as the game draws it: the circle image, tinted, at 0.9 opacity.
// Positions and radii in drawing-area units (1280 across).
struct Ring {
  TwoFloats centre;
  float radius;
  ThreeFloats colour;
};

struct Frame {
  const char *name;
  int width, height;
  ThreeFloats background;
  std::vector<Ring> rings;
  // Drawn and found; found only (a ring a person cannot tell from what is behind it).
  std::vector<bool> seen;
  // A white flash, then a black cover, over everything.
  float flash, cover;
  bool prompt;
};

const ThreeFloats teal(0.14f, 0.47f, 0.53f), blue(0.2f, 0.22f, 0.7f), paleYellow(0.9f, 0.97f, 0.72f);
const ThreeFloats salmon(1.0f, 0.42f, 0.42f), cyan(0.0f, 0.84f, 0.87f), orange(1.0f, 0.59f, 0.21f);

const Frame frames[] = {
    {"three nested rings and one cut by the edge", 1280, 720, blue,
     {{{640, 360}, 120, salmon}, {{640, 360}, 80, cyan}, {{640, 360}, 30, orange}, {{1250, 100}, 60, paleYellow}},
     {true, true, true, true}, 0.0f, 0.0f, false},
    {"grey 111 on grey 115 cannot be told from it", 1280, 720, grey(115),
     {{{640, 360}, 90, grey(182)}, {{400, 300}, 70, grey(111)}},
     {true, false}, 0.0f, 0.0f, false},
    {"small rings on a small screen", 320, 180, paleYellow,
     {{{400, 360}, 24, blue}, {{880, 240}, 48, salmon}},
     {true, true}, 0.0f, 0.0f, false},
    {"a tall screen, rings apart and overlapping", 540, 960, teal,
     {{{640, 700}, 240, orange}, {{780, 850}, 120, paleYellow}, {{470, 1900}, 95, salmon}},
     {true, true, true}, 0.0f, 0.0f, false},
    {"half-way through the white flash", 1280, 720, blue, {{{640, 360}, 100, salmon}}, {true}, 0.5f, 0.0f, false},
    {"the flash at its height", 1280, 720, blue, {{{640, 360}, 100, salmon}}, {false}, 1.0f, 0.0f, false},
    {"under the black cover", 1280, 720, paleYellow, {{{640, 360}, 100, salmon}}, {false}, 0.0f, 1.0f, false},
    {"the title's prompt", 1280, 720, teal, {}, {}, 0.0f, 0.0f, true},
};

void PrintTo(const Frame &frame, std::ostream *out) { *out << frame.name; }

class PixelEyesTest : public ::testing::TestWithParam<Frame> {};

TEST_P(PixelEyesTest, SeesWhatIsDrawnAndNothingAPersonCannotTellApart) {
  const Frame &frame = GetParam();
  GLTestWindow window(frame.width, frame.height);
  ASSERT_TRUE(window.isOpen()) << window.getError();
  boost::shared_ptr<Drawer> drawer(new GLImmediateDrawer);
  // The drawing area takes the window's shape, as the game's does.
  AppSettings settings;
  settings.scalingMode = 1;
  drawer->initialise(frame.width, frame.height, settings);
  loadBuiltInImages(*drawer);
  drawer->beginDrawing();
  const TwoFloats area = drawer->getDrawingAreaSize();
  drawer->fillRect(TwoFloats(0, 0), area, frame.background, 1.0f);
  for (const Ring &ring : frame.rings)
    drawer->drawImage(L"Circle", ring.centre - TwoFloats(ring.radius, ring.radius),
                      TwoFloats(ring.radius / 512.0f, ring.radius / 512.0f), ring.colour, 0.9f);
  if (frame.prompt) {
    drawer->drawImage(L"Title", TwoFloats(32, 32), TwoFloats(1, 1), ThreeFloats(1, 1, 1), 1.0f);
    drawer->drawImage(L"AnyKey", area - TwoFloats(365, 65), TwoFloats(1, 1), ThreeFloats(1, 1, 1), 1.0f);
  }
  if (frame.flash > 0.0f) drawer->fillRect(TwoFloats(0, 0), area, ThreeFloats(1, 1, 1), frame.flash);
  if (frame.cover > 0.0f) drawer->fillRect(TwoFloats(0, 0), area, ThreeFloats(0, 0, 0), frame.cover);
  std::vector<unsigned char> pixels;
  drawer->getScreenPixels(pixels);
  ASSERT_EQ(static_cast<size_t>(frame.width) * frame.height * 3, pixels.size());

  PixelEyes eyes;
  Glance glance;
  eyes.look(pixels.data(), frame.width, frame.height, true, area, glance);

  // Each ring seen is found once, where it is drawn, within a few pixels.
  // The circle image's edge is soft: half-way up it lies 480 of 512 texels out.
  const float pixel = area.x / frame.width, tolerance = 3.0f * pixel * std::fmax(1.0f, frame.width / 640.0f);
  const float edge = 480.0f / 512.0f;
  int expected = 0;
  for (size_t k = 0; k < frame.rings.size(); ++k) {
    const Ring &ring = frame.rings[k];
    int found = 0;
    for (int d = 0; d < glance.discCount; ++d) {
      const Glance::Disc &disc = glance.discs[static_cast<size_t>(d)];
      const TwoFloats off = disc.centre - ring.centre;
      found += std::hypot(off.x, off.y) <= tolerance && std::fabs(disc.radius - edge * ring.radius) <= tolerance;
    }
    EXPECT_EQ(frame.seen[k] ? 1 : 0, found) << "ring " << k;
    expected += frame.seen[k];
  }
  EXPECT_EQ(expected, glance.discCount);

  EXPECT_NEAR(frame.flash >= 1.0f ? 1.0f : 0.0f, glance.whiteShare, 0.01f);
  EXPECT_NEAR(frame.cover >= 1.0f ? 1.0f : 0.0f, glance.blackShare, 0.01f);
  if (frame.flash > 0.0f && frame.flash < 1.0f) {
    const ThreeFloats &b = frame.background;
    EXPECT_GT(glance.lightness, PixelEyes::lab(uint8_t(b.x * 255), uint8_t(b.y * 255), uint8_t(b.z * 255)).x + 20.0f);
  }

  // The prompt is one line of text where it is drawn (340 x 51, the image's
  // margins around the words); the title's name another.
  if (frame.prompt) {
    const TwoFloats promptCentre = area - TwoFloats(365, 65) + TwoFloats(170, 25.5f);
    int lines = 0;
    for (int m = 0; m < glance.markCount; ++m) {
      const Glance::Mark &mark = glance.marks[static_cast<size_t>(m)];
      if (std::fabs(mark.centre.x - promptCentre.x) < 170 && std::fabs(mark.centre.y - promptCentre.y) < 25.5f &&
          mark.size.x > 100 && mark.size.y < 51)
        ++lines;
    }
    EXPECT_EQ(1, lines);
    EXPECT_EQ(2, glance.markCount);
  } else {
    EXPECT_EQ(0, glance.markCount);
  }
}

INSTANTIATE_TEST_SUITE_P(DrawnFrames, PixelEyesTest, ::testing::ValuesIn(frames),
                         [](const ::testing::TestParamInfo<Frame> &info) { return "frame" + std::to_string(info.index); });

// A just noticeable difference in lightness is about 2.3 units of L*.
TEST(PixelEyes, LabOfTheGreysAndTheirDifference) {
  EXPECT_NEAR(100.0f, PixelEyes::lab(255, 255, 255).x, 0.01f);
  EXPECT_NEAR(0.0f, PixelEyes::lab(0, 0, 0).x, 0.01f);
  EXPECT_NEAR(53.585f, PixelEyes::lab(128, 128, 128).x, 0.01f);
  EXPECT_NEAR(0.0f, PixelEyes::lab(128, 128, 128).y, 0.01f);
  EXPECT_LT(PixelEyes::difference(PixelEyes::lab(111, 111, 111), PixelEyes::lab(115, 115, 115)),
            PixelEyes::JustNoticeable);
  EXPECT_GT(PixelEyes::difference(PixelEyes::lab(105, 105, 105), PixelEyes::lab(115, 115, 115)),
            PixelEyes::JustNoticeable);
}

}  // namespace
