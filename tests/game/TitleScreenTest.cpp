#include "game/TitleScreen.h"

#include "base/Thread.h"
#include "platforms/desktop/drawing/GLImmediateDrawer.h"
#include "game/MurmelSounder.h"

#include "support/BuiltInImages.h"
#include "support/FakeApplication.h"
#include "support/GLTestWindow.h"
#include "support/MemorySoundLoader.h"
#include "support/RecordingDrawer.h"
#include "framework/app/Platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

class TitleScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Platform::install();
    sounder.reset(new MurmelSounder());
    sounder->loadSoundFileResource(
        boost::shared_ptr<SoundFileLoader>(new MemorySoundLoader(L"Speech_Intro", std::vector<float>(2000, 0.1f))));
  }

  // Draws one frame; the calls it made.
  std::vector<RecordingDrawer::Call> frame(TitleScreen &screen) {
    drawer.calls.clear();
    screen.draw(boost::shared_ptr<Drawer>(&drawer, [](Drawer *) {}));
    return drawer.calls;
  }
  static bool drawsPrompt(const std::vector<RecordingDrawer::Call> &calls) {
    for (const auto &call : calls) {
      if (call.name == L"AnyKey") return true;
    }
    return false;
  }

  FakeApplication app;
  std::unique_ptr<MurmelSounder> sounder;
  RecordingDrawer drawer;
};

// A small window draws the screen quickly, scaled down.
const int windowWidth = 320, windowHeight = 180;

// The caption's band darkens the whole bottom edge of the screen; the
// background is one colour from top to bottom.
bool captionBandShows(const std::vector<unsigned char> &pixels) {
  // Rows run bottom-up: row 1 is near the bottom, the last but one near the top.
  const unsigned char *bottom = &pixels[(windowWidth + 1) * 3];
  const unsigned char *top = &pixels[((windowHeight - 2) * windowWidth + 1) * 3];
  int darker = 0;
  for (int c = 0; c < 3; ++c) darker = std::max(darker, top[c] - bottom[c]);
  return darker > 2;
}

}  // namespace

TEST_F(TitleScreenTest, InputWaitsForTheIntroduction) {
  TitleScreen screen(&app, sounder.get());
  for (int i = 0; i < 60; ++i) EXPECT_FALSE(drawsPrompt(frame(screen)));
  screen.mouseDown(1, TwoFloats(10, 10));
  screen.keyDown(L"Action", L" ", 0);
  EXPECT_TRUE(app.requestedStates.empty());
  EXPECT_EQ(0.0f, screen.getFadeOut());

  // The introduction ends on the audio thread; the next frame shows the prompt.
  screen.soundFinished(L"Speech_Intro", 0);
  const auto calls = frame(screen);
  ASSERT_TRUE(drawsPrompt(calls));
  for (const auto &call : calls) {
    if (call.name != L"AnyKey") continue;
    EXPECT_FLOAT_EQ(1280.0f - 365.0f, call.position.x);
    EXPECT_FLOAT_EQ(720.0f - 65.0f, call.position.y);
    EXPECT_NEAR(0.02f, call.alpha, 1e-6f);
  }
  for (int i = 0; i < 60; ++i) frame(screen);
  EXPECT_GE(screen.getPromptAlpha(), 1.0f);
  // A click starts the game at once.
  screen.mouseDown(3, TwoFloats(500, 500));
  EXPECT_EQ((std::vector<std::wstring>{L"GamePlayState"}), app.requestedStates);
}

TEST_F(TitleScreenTest, WithoutTheIntroductionsFileThePromptComesAtOnce) {
  sounder.reset(new MurmelSounder());
  TitleScreen screen(&app, sounder.get());
  EXPECT_TRUE(drawsPrompt(frame(screen)));
}

// Both belong at the bottom of the screen: with captions on, the prompt
// follows once the introduction's caption has faded, and captions switched
// on after the prompt came keep the fading caption hidden.
TEST_F(TitleScreenTest, TheIntroductionsCaptionAndThePromptNeverShowTogether) {
  GLTestWindow window(windowWidth, windowHeight);
  ASSERT_TRUE(window.isOpen()) << window.getError();
  GLImmediateDrawer gl;
  gl.initialise(windowWidth, windowHeight, AppSettings());
  loadBuiltInImages(gl);
  const boost::shared_ptr<Drawer> shared(&gl, [](Drawer *) {});
  const int introEnd = 100;
  struct Case {
    const char *name;
    int captionsFrom;
    bool captionSeen;
    // The caption fades out in 40 frames.
    int promptFrame;
  };
  const Case cases[] = {{"captions on", 0, true, introEnd + 40}, {"switched on later", introEnd + 5, false, introEnd}};
  std::vector<unsigned char> pixels;
  for (const Case &c : cases) {
    TitleScreen screen(&app, sounder.get());
    int captionFrames = 0, promptFrame = -1;
    for (int frame = 0; frame < introEnd + 60; ++frame) {
      app.settings.captions = frame >= c.captionsFrom;
      if (frame == introEnd) screen.soundFinished(L"Speech_Intro", 0);
      gl.beginDrawing();
      screen.draw(shared);
      gl.getScreenPixels(pixels);
      gl.endDrawing();
      const bool caption = captionBandShows(pixels), prompt = screen.getPromptAlpha() > 0.0f;
      EXPECT_FALSE(caption && prompt) << c.name << ", frame " << frame;
      captionFrames += caption;
      if (prompt && promptFrame < 0) promptFrame = frame;
    }
    EXPECT_EQ(c.captionSeen, captionFrames > introEnd / 2) << c.name;
    EXPECT_NEAR(c.promptFrame, promptFrame, 1) << c.name;
  }
}

TEST_F(TitleScreenTest, AKeyFadesToBlackFirstAndEscapeAlwaysQuits) {
  TitleScreen screen(&app, sounder.get());
  screen.keyDown(L"Escape", std::wstring(1, L'\0'), 0);
  EXPECT_EQ(1, app.quitCalls);

  screen.soundFinished(L"Speech_Intro", 0);
  frame(screen);
  screen.keyDown(L"", std::wstring(1, L'\0'), 0);  // an unmapped key counts too
  EXPECT_NEAR(0.02f, screen.getFadeOut(), 1e-6f);
  // The fade-in still covers the first 50 frames; the fade-out follows.
  int frames = 0;
  while (app.requestedStates.empty() && frames < 200) {
    frame(screen);
    ++frames;
    if (frames == 60) screen.keyDown(L"Action", L" ", 0);  // a second key changes nothing
  }
  EXPECT_EQ((std::vector<std::wstring>{L"GamePlayState"}), app.requestedStates);
  EXPECT_GT(frames, 90);
  EXPECT_LT(frames, 110);
}

TEST_F(TitleScreenTest, DiscsAreCentredAndTakeTheBackgroundsComplement) {
  for (const TwoFloats area : {TwoFloats(1280, 720), TwoFloats(1280, 1024)}) {
    drawer = RecordingDrawer(area);
    TitleScreen screen(&app, sounder.get());
    const auto calls = frame(screen);
    ASSERT_GE(calls.size(), 5u);
    const RecordingDrawer::Call &background = calls[0];
    EXPECT_EQ("fillRect", background.operation);
    std::vector<RecordingDrawer::Call> discs;
    for (const auto &call : calls) {
      if (call.name == L"Circle") discs.push_back(call);
    }
    ASSERT_EQ(3u, discs.size());
    // The outer disc starts 675.84 units wide, centred.
    EXPECT_FLOAT_EQ(0.66f, discs[0].size.x);
    for (const auto &disc : discs) {
      const float halfWidth = 512.0f * disc.size.x;
      EXPECT_NEAR(area.x * 0.5f, disc.position.x + halfWidth, 1e-3f);
      EXPECT_NEAR(area.y * 0.5f, disc.position.y + halfWidth, 1e-3f);
    }
    EXPECT_GT(discs[0].size.x, discs[1].size.x);
    EXPECT_GT(discs[1].size.x, discs[2].size.x);
    const ThreeFloats bg = background.colour;
    // Never closer than 0.1 to white, so the outer disc is never black.
    EXPECT_GE(std::sqrt((1 - bg.x) * (1 - bg.x) + (1 - bg.y) * (1 - bg.y) + (1 - bg.z) * (1 - bg.z)), 0.1f);
    EXPECT_FLOAT_EQ(1 - bg.x, discs[0].colour.x);
    EXPECT_FLOAT_EQ(1 - bg.z, discs[0].colour.z);
    EXPECT_FLOAT_EQ(1 - bg.y, discs[1].colour.x);
    EXPECT_FLOAT_EQ(1 - bg.x, discs[1].colour.z);
    EXPECT_FLOAT_EQ(0.8f * (1 - bg.y), discs[2].colour.y);
    // The title sits at (32, 32), and the black cover is drawn last.
    bool title = false;
    for (const auto &call : calls) title |= call.name == L"Title" && call.position.x == 32 && call.position.y == 32;
    EXPECT_TRUE(title);
    EXPECT_EQ(1.0f, calls.back().alpha);
    EXPECT_EQ(0.0f, calls.back().colour.x);
  }
}

TEST_F(TitleScreenTest, DiscsShrinkEverMoreSlowly) {
  TitleScreen screen(&app, sounder.get());
  std::vector<float> widths;
  for (int i = 0; i < 3000; ++i) {
    for (const auto &call : frame(screen)) {
      if (call.name == L"Circle") {
        widths.push_back(call.size.x);
        break;
      }
    }
  }
  const float firstStep = widths[0] - widths[100];
  const float laterStep = widths[2000] - widths[2100];
  EXPECT_GT(firstStep, 0.0f);
  EXPECT_GT(laterStep, 0.0f);
  EXPECT_GT(firstStep, 5 * laterStep);
}
