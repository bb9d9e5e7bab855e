// The two drawers show the same picture: frames of the game's own states,
// recorded once and replayed into each drawer, and a scene of every drawing
// operation, compared pixel by pixel.
#include "framework/app/AppSettings.h"
#include "base/Thread.h"
#include "framework/drawing/GLESDrawer.h"
#include "platforms/desktop/drawing/GLImmediateDrawer.h"
#include "game/GamePlayState.h"
#include "game/TitleScreen.h"
#include "support/BuiltInImages.h"
#include "support/FakeApplication.h"
#include "support/GLTestWindow.h"
#include "support/GamePlayDriver.h"
#include "support/GamePlayFrames.h"
#include "support/PngFile.h"
#include "support/RawGLReplay.h"
#include "support/RecordingDrawer.h"
#include "framework/app/Platform.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

const int width = 1280, height = 720;
const ThreeFloats white(1, 1, 1);

// Draws a picture with a drawer; the angle of one degree in its unit.
typedef std::function<void(Drawer &drawer, float degree)> Picture;

std::vector<unsigned char> render(Drawer *drawer, float degree, const Picture &picture) {
  std::unique_ptr<Drawer> owned(drawer);
  GLTestWindow window(width, height);
  EXPECT_TRUE(window.isOpen()) << window.getError();
  drawer->initialise(width, height, AppSettings());
  loadBuiltInImages(*drawer);
  drawer->beginDrawing();
  picture(*drawer, degree);
  std::vector<unsigned char> pixels;
  drawer->getScreenPixels(pixels);
  drawer->endDrawing();
  return pixels;
}

// Two pictures of the same calls may differ by rounding only.
void expectClose(const std::string &name, const std::vector<unsigned char> &expected,
                 const std::vector<unsigned char> &actual) {
  ASSERT_EQ(expected.size(), actual.size()) << name;
  size_t lit = 0, apart = 0;
  // Measured on llvmpipe: 3 at the most.
  int largest = 0;
  for (size_t i = 0; i < expected.size(); ++i) {
    const int difference = std::abs(expected[i] - actual[i]);
    largest = std::max(largest, difference);
    apart += difference > 4;
    lit += expected[i] > 0;
  }
  // Enough drawn to compare, and the same within a few steps of rounding;
  // an edge cut across a pixel may round apart a little further.
  EXPECT_GT(lit, expected.size() / 10) << name;
  EXPECT_LE(apart, expected.size() / 10000) << name << ": largest difference " << largest;
  EXPECT_LE(largest, 24) << name;
}

void savePicture(const std::string &name, const std::vector<unsigned char> &pixels) {
  if (const char *folder = std::getenv("MURMEL_SCREENSHOT_DIR"))
    PngFile::writeBottomUpRgb(std::string(folder) + "/" + name + ".png", width, height, pixels);
}

// Both drawers draw the picture; their pixels may differ by rounding only.
void expectTheSamePicture(const std::string &name, const Picture &picture) {
  const std::vector<unsigned char> immediate = render(new GLImmediateDrawer, 1.0f, picture);
  const std::vector<unsigned char> shader = render(new GLESDrawer, 3.14159265f / 180.0f, picture);
  savePicture(name + "-GLImmediateDrawer", immediate);
  savePicture(name + "-GLESDrawer", shader);
  expectClose(name, immediate, shader);
}

// A frame drawn by a state, as the drawer was asked to draw it.
std::vector<RecordingDrawer::Call> lastFrame(GameState &state, int frames) {
  RecordingDrawer recorder;
  const boost::shared_ptr<Drawer> shared(&recorder, [](Drawer *) {});
  for (int i = 0; i < frames; ++i) {
    recorder.calls.clear();
    state.draw(shared);
  }
  return recorder.calls;
}

Picture replay(const std::vector<RecordingDrawer::Call> &calls) {
  return [calls](Drawer &drawer, float) {
    for (const RecordingDrawer::Call &call : calls) {
      if (call.operation == "fillRect")
        drawer.fillRect(call.position, call.size, call.colour, call.alpha);
      else if (call.operation == "drawImage")
        drawer.drawImage(call.name, call.position, call.size, call.colour, call.alpha);
      else
        ADD_FAILURE() << "not replayed: " << call.operation;
    }
  };
}

class DrawerAgreement : public ::testing::Test {
 protected:
  void SetUp() override { Platform::install(); }

  FakeApplication app;
};

TEST_F(DrawerAgreement, TitleScreen) {
  TitleScreen screen(&app, nullptr);
  screen.soundFinished(L"Speech_Intro", 0);
  const std::vector<RecordingDrawer::Call> frame = lastFrame(screen, 120);
  ASSERT_FALSE(frame.empty());
  expectTheSamePicture("TitleScreen", replay(frame));
}

// All eight worlds gathering on one screen after the last is solved.
TEST_F(DrawerAgreement, GamePlayClosing) {
  GamePlayState state(&app, static_cast<GamePlayState::Sounds *>(nullptr));
  RecordingDrawer recorder;
  GamePlayDriver::playTo(state, recorder, 7);
  GamePlayDriver::finish(state, 7);
  GamePlayDriver::framesUntil(state, recorder, [&] { return state.getGatherProgress() > 0.6f; });
  const std::vector<RecordingDrawer::Call> frame = lastFrame(state, 1);
  ASSERT_GT(frame.size(), 9u);
  expectTheSamePicture("GamePlayClosing", replay(frame));
}

// The frames the drawers are timed against in plain OpenGL show what the
// drawers show, so that the timings compare like with like.
TEST_F(DrawerAgreement, GamePlayFramesInPlainOpenGL) {
  const struct {
    const char *name;
    GamePlayFrames::Frame frame;
  } frames[] = {{"Journey", GamePlayFrames::journey().back()}, {"Closing", GamePlayFrames::closing(60).back()}};
  for (const auto &frame : frames) {
    std::vector<unsigned char> raw;
    {
      GLTestWindow window(width, height);
      ASSERT_TRUE(window.isOpen()) << window.getError();
      RawGLReplay plain(width, height);
      ASSERT_TRUE(plain.draw(frame.frame));
      raw.resize(static_cast<size_t>(width) * height * 3);
      glPixelStorei(GL_PACK_ALIGNMENT, 1);
      glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, raw.data());
    }
    savePicture(std::string(frame.name) + "-RawGL", raw);
    expectClose(std::string(frame.name) + " immediate", raw, render(new GLImmediateDrawer, 1.0f, replay(frame.frame)));
    expectClose(std::string(frame.name) + " shader", raw, render(new GLESDrawer, 1.0f, replay(frame.frame)));
  }
}

TEST_F(DrawerAgreement, EveryOperation) {
  expectTheSamePicture("EveryOperation", [](Drawer &drawer, float degree) {
    drawer.fillGradient(TwoFloats(0, 0), TwoFloats(1280, 720), ThreeFloats(0.1f, 0.2f, 0.4f),
                        ThreeFloats(0.5f, 0.1f, 0.1f), 1.0f, 0.6f);
    // Lines in every direction, a star about (200, 200).
    for (int i = 0; i < 12; ++i) {
      const float a = i * 30.0f * 3.14159265f / 180.0f;
      drawer.drawLine(L"", TwoFloats(200, 200), TwoFloats(200 + 150 * std::cos(a), 200 + 150 * std::sin(a)),
                      ThreeFloats(1, 0.9f, 0.5f), 0.9f);
    }
    drawer.drawRotImage(L"Circle", TwoFloats(400, 50), 30.0f * degree, TwoFloats(512, 0), TwoFloats(0.25f, 0.15f),
                        ThreeFloats(0.2f, 0.9f, 0.3f), 0.8f);
    drawer.drawSubImage(L"Title", TwoFloats(650, 40), TwoFloats(0.2f, 0.1f), TwoFloats(0.5f, 0.8f),
                        TwoFloats(1.5f, 1.5f), white, 1.0f);
    drawer.drawTiledImage(L"Circle", TwoFloats(700, 250), TwoFloats(400, 150), TwoFloats(4, 1.5f),
                          ThreeFloats(0.9f, 0.5f, 0.9f), 0.7f);
    // A zig-zag whose width and colour change at every point.
    std::vector<TwoFloats> points;
    std::vector<float> widths, alphas;
    std::vector<ThreeFloats> colours;
    for (int i = 0; i < 9; ++i) {
      points.push_back(TwoFloats(80 + i * 70, i % 2 ? 560 : 450));
      widths.push_back(6 + 3 * i);
      alphas.push_back(1.0f - 0.05f * i);
      colours.push_back(ThreeFloats(i / 8.0f, 1.0f - i / 8.0f, 0.5f));
    }
    drawer.drawConnectedLine(L"", points, widths, colours, alphas);
    // Into the frame buffer and back, smaller, in a viewport, moved.
    drawer.startFrameBufferDrawing();
    drawer.beginDrawing();
    drawer.fillRect(TwoFloats(0, 0), TwoFloats(1280, 200), ThreeFloats(0.9f, 0.9f, 0.1f), 1.0f);
    drawer.drawImage(L"AnyKey", TwoFloats(100, 300), TwoFloats(2, 2), ThreeFloats(0.3f, 0.6f, 1.0f), 1.0f);
    drawer.endFrameBufferDrawing();
    drawer.setBlendMode(1);
    drawer.setViewport(TwoFloats(700, 450), TwoFloats(560, 250));
    drawer.translate(TwoFloats(20, 10));
    drawer.drawImage(drawer.getFrameBufferImage(), TwoFloats(0, 0), TwoFloats(0.4f, 0.3f), white, 0.9f);
    drawer.resetViewport();
    drawer.setBlendMode(0);
  });
}

}  // namespace
