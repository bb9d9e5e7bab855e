// Captions drawn by the immediate-mode drawer into a real OpenGL window,
// in Quicksand Light (fonts-quicksand).
#include "game/Captions.h"

#include "framework/app/AppSettings.h"
#include "platforms/desktop/drawing/GLImmediateDrawer.h"
#include "game/SpokenPassages.h"
#include "support/GLTestWindow.h"
#include "support/RecordingDrawer.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

struct Box {
  int left = 1280, top = 720, right = -1, bottom = -1;
  bool empty() const { return right < 0; }
};

class CaptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.reset(new GLTestWindow(1280, 720));
    ASSERT_TRUE(window->isOpen()) << window->getError();
    drawer.initialise(1280, 720, AppSettings());
  }

  // Draws frames of the captions over a plain background; the last frame's pixels.
  void frames(int count, bool shown, float background = 0.0f) {
    for (int i = 0; i < count; ++i) {
      drawer.beginDrawing();
      drawer.fillRect(TwoFloats(0, 0), TwoFloats(1280, 720), ThreeFloats(background, background, background), 1.0f);
      captions.draw(drawer, shown);
      if (i == count - 1) drawer.getScreenPixels(pixels);
      drawer.endDrawing();
    }
  }

  int red(int x, int y) const { return pixels[((719 - y) * 1280 + x) * 3]; }

  // Where the last frame has pixels brighter than the threshold.
  Box lit(int threshold = 200) const {
    Box box;
    for (int y = 0; y < 720; ++y)
      for (int x = 0; x < 1280; ++x)
        if (red(x, y) > threshold) {
          box.left = std::min(box.left, x);
          box.right = std::max(box.right, x);
          box.top = std::min(box.top, y);
          box.bottom = std::max(box.bottom, y);
        }
    return box;
  }

  std::unique_ptr<GLTestWindow> window;
  GLImmediateDrawer drawer;
  Captions captions;
  std::vector<unsigned char> pixels;
};

TEST_F(CaptionsTest, AreOffUnlessSwitchedOn) {
  EXPECT_FALSE(AppSettings().captions);
  EXPECT_FALSE(Captions::areOn(nullptr));
}

TEST_F(CaptionsTest, ShowAPassageCentredNearTheBottomUntilItsSoundEnds) {
  ASSERT_TRUE(FontAtlas::findFontFile(Captions::faceName).isFile()) << "fonts-quicksand is missing";
  captions.passageStarted(L"Speech_World0", true);
  frames(30, true);
  EXPECT_EQ(1.0f, captions.getAlpha());
  const Box one = lit();
  ASSERT_FALSE(one.empty());
  EXPECT_NEAR(640, (one.left + one.right) / 2, 12);
  EXPECT_GT(one.top, 600);
  EXPECT_LT(one.bottom, 700);

  // Another passage's end is not this one's; its own fades it out.
  std::thread([&] { captions.soundFinished(L"Speech_World1", 0); }).join();
  frames(1, true);
  EXPECT_EQ(1.0f, captions.getAlpha());
  std::thread([&] { captions.soundFinished(L"Speech_World0", 0); }).join();
  frames(20, true);
  EXPECT_LT(captions.getAlpha(), 0.6f);
  frames(30, true);
  EXPECT_EQ(-1, captions.getPassage());
  EXPECT_TRUE(lit(0).empty());

  // The introduction takes two lines, ending where the one line did.
  captions.passageStarted(L"Speech_Intro", true);
  frames(30, true);
  const Box two = lit();
  EXPECT_NEAR(one.bottom, two.bottom, 12);
  EXPECT_LT(two.top, one.top - 30);

  // Over white, the band and shadow keep the words apart from the page.
  frames(1, true, 1.0f);
  EXPECT_LT(red(640, 700), 160);
  EXPECT_GT(lit(250).right, 0);
}

TEST_F(CaptionsTest, KeepTimeWhileHiddenAndEndAfterAReadingTimeWhenNoSoundTells) {
  captions.passageStarted(L"NotAPassage", false);
  frames(2, true);
  EXPECT_EQ(-1, captions.getPassage());
  EXPECT_TRUE(lit(0).empty());

  // "Something here is cold. Somewhere, it is warm. Follow the warmth.":
  // eleven words, a second and a half and a third of a second each.
  captions.passageStarted(L"Speech_World0", false);
  frames(300, false);
  EXPECT_TRUE(lit(0).empty());
  EXPECT_EQ(1.0f, captions.getAlpha());
  frames(1, true);
  EXPECT_FALSE(lit().empty());
  frames(60, false);
  EXPECT_EQ(-1, captions.getPassage());
}

// A drawer without either face: the font folders are searched once a
// passage and drawer, not once a frame.
TEST(CaptionsWithoutTheirFonts, LookForThemOncePerPassage) {
  Captions captions;
  RecordingDrawer drawer, other;
  const auto lookups = [](const RecordingDrawer &d) { return d.callsOf("loadFont").size(); };
  captions.passageStarted(L"Speech_World0", false);
  for (int i = 0; i < 30; ++i) captions.draw(drawer, true);
  EXPECT_EQ(2u, lookups(drawer));
  captions.draw(other, true);
  EXPECT_EQ(2u, lookups(other));
  captions.passageStarted(L"Speech_World1", false);
  for (int i = 0; i < 30; ++i) captions.draw(drawer, true);
  EXPECT_EQ(4u, lookups(drawer));
}

}  // namespace
