#include "game/GamePlayState.h"

#include "game/World0.h"
#include "game/World3.h"

#include "support/FakeApplication.h"
#include "support/GamePlayDriver.h"
#include "support/MemorySoundLoader.h"
#include "support/RecordingDrawer.h"
#include "support/SoundRecorder.h"
#include "support/WorldDriver.h"
#include "framework/app/Platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

namespace {

using Calls = std::vector<std::wstring>;

// Hears what the state asks of the sounder, one line a call.
class RecordingSounds final : public GamePlayState::Sounds {
 public:
  int activateSound(const std::wstring &name) override {
    calls.push_back(L"activate " + name);
    return name.empty() ? -1 : ++handles;
  }
  void deactivateSound(int handle) override { calls.push_back(L"deactivate " + std::to_wstring(handle)); }
  void triggerSound(const std::wstring &name, StreamingSound::Callback *) override {
    calls.push_back(L"trigger " + name);
  }
  void forgetFinished(StreamingSound::Callback *) override {}
  void killTriggered() override { calls.push_back(L"kill"); }
  void setNoiseLevel(float level) override { calls.push_back(L"noise " + std::to_wstring(level)); }
  void playMusic(const std::wstring &name) override { calls.push_back(L"music " + name); }
  void stopMusic() override { calls.push_back(L"stop music"); }
  void setCallback(MurmelSounder::Callback *callback) override { calls.push_back(callback ? L"listen" : L"deaf"); }

  Calls calls;
  int handles = 0;
};

class GamePlayStateTest : public ::testing::Test {
 protected:
  void SetUp() override { Platform::install(); }

  // Frames until done() holds; done() sees the calls of the frame before.
  int framesUntil(GamePlayState &state, const std::function<bool()> &done) {
    return GamePlayDriver::framesUntil(state, drawer, [&] {
      const bool result = done();
      drawer.calls.clear();
      return result;
    });
  }
  void playTo(GamePlayState &state, int world) { GamePlayDriver::playTo(state, drawer, world); }

  FakeApplication app;
  RecordingSounds sounds;
  RecordingDrawer drawer;
};

}  // namespace

TEST_F(GamePlayStateTest, AWorldDoneOnItsFirstFrameIsStillFlashedAndTravelled) {
  {
    GamePlayState state(&app, &sounds);
    EXPECT_EQ((Calls{L"activate ClackyThing", L"trigger Speech_World0", L"listen"}), sounds.calls);
    sounds.calls.clear();
    World0 &first = static_cast<World0 &>(state.getWorld(0));
    first.done = true;
    float brightest = 0.0f;
    EXPECT_EQ(34, framesUntil(state, [&] {
                for (const auto &call : drawer.calls) {
                  if (call.colour.x == 1.0f && call.colour.z == 1.0f) brightest = std::max(brightest, call.alpha);
                }
                first.done = !state.isFlashing();  // once seen, done holds
                return state.getTravel() > 0.0f;
              }));
    EXPECT_GT(brightest, 0.99f);

    EXPECT_EQ(100, framesUntil(state, [&] {
                // The last world's closing flash has no part in a journey.
                EXPECT_FALSE(state.isFlashing() || state.isClosing());
                state.mouseMove(TwoFloats(1, 1));
                // "Action" replays the passage of the world being left, each replay ending the one before.
                if (state.getTravel() > 0.5f && sounds.calls.size() < 4) state.keyDown(L"Action", L" ", 0);
                return state.getCurrentWorld() == 1;
              }));
    EXPECT_EQ(640.0f, first.followPoint.x);  // no mouse while travelling
    EXPECT_EQ((Calls{L"kill", L"trigger Speech_World0", L"kill", L"trigger Speech_World0", L"noise 0.875000",
                     L"deactivate 1", L"kill", L"activate HandDrum", L"trigger Speech_World1"}),
              sounds.calls);
    EXPECT_EQ(1920.0f, state.getCamera().x);
    EXPECT_EQ(0.0f, state.getCamera().y);

    sounds.calls.clear();
    state.keyDown(L"P1Up", L"", 0);  // neither sound nor quit
    state.keyDown(L"Escape", L"", 0);
    EXPECT_EQ(1, app.quitCalls);
  }
  EXPECT_EQ((Calls{L"deaf"}), sounds.calls);
}

TEST_F(GamePlayStateTest, EachWorldChangeStepsTheNoiseDownAnEighthAndTheFourthStartsTheMusic) {
  GamePlayState state(&app, &sounds);
  const wchar_t *instruments[] = {L"HandDrum",   L"Scraper",   L"",           L"DanglyDrumThing",
                                  L"FingerBell", L"RainStick", L"SingingBowl"};
  int handle = 1;
  for (int world = 1; world <= 7; ++world) {
    sounds.calls.clear();
    playTo(state, world);
    const std::wstring instrument = instruments[world - 1];
    Calls expected{L"noise " + std::to_wstring(1.0f - world / 8.0f), L"deactivate " + std::to_wstring(handle), L"kill",
                   L"activate " + instrument, L"trigger Speech_World" + std::to_wstring(world)};
    if (world == 3) expected.push_back(L"music Music");
    EXPECT_EQ(expected, sounds.calls) << "entering world " << world;
    handle = instrument.empty() ? -1 : sounds.handles;
  }
}

TEST_F(GamePlayStateTest, TheClosingSequenceGathersPulsesFadesAndQuits) {
  GamePlayState state(&app, &sounds);
  playTo(state, 7);
  sounds.calls.clear();
  state.getWorld(3).ringColours[0] = ThreeFloats(1, 0, 0);  // a red flash frozen out of view
  GamePlayDriver::finish(state, 7);
  EXPECT_EQ(34, framesUntil(state, [&] { return state.isClosing(); }));
  EXPECT_EQ((Calls{L"noise 0.000000", L"deactivate 7"}), sounds.calls);
  EXPECT_FLOAT_EQ(0.58431375f, state.getWorld(3).ringColours[0].y);

  state.barStart(0);  // a bar while gathering starts no pulse
  const int gathering = framesUntil(state, [&] { return state.getGatherProgress() >= 1.0f; });
  EXPECT_NEAR(500, gathering, 1);
  EXPECT_EQ(0.0f, state.getPulsePhase());
  for (int i = 0; i < GamePlayState::NumWorlds; ++i) EXPECT_FLOAT_EQ(0.2f, state.getWorld(i).scale);
  EXPECT_FLOAT_EQ(163.84001f, state.getWorld(0).ringPositions[0].x);
  EXPECT_FLOAT_EQ(120.0f, state.getWorld(7).ringPositions[2].y);

  state.barStart(0);
  float largest = 0.0f;
  const int pulse = framesUntil(state, [&] {
    largest = std::max(largest, state.getWorld(5).scale);
    return largest > 0.2f && state.getPulsePhase() == 0.0f;
  });
  EXPECT_NEAR(50, pulse, 1);
  EXPECT_NEAR(0.3f, largest, 1e-3f);

  sounds.calls.clear();
  EXPECT_EQ(1600 - gathering - pulse, framesUntil(state, [&] { return state.getFadeOut() > 0.0f; }));
  EXPECT_EQ((Calls{L"stop music"}), sounds.calls);
  EXPECT_EQ(640.0f, state.getCamera().x);  // glided home
  EXPECT_EQ(360.0f, state.getCamera().y);
  EXPECT_NEAR(100, framesUntil(state, [&] { return app.quitCalls > 0; }), 1);
}

// The gathering is laid out in the area there is: every world's rings are
// drawn with their centres on the screen, whatever its shape.
TEST_F(GamePlayStateTest, TheGatheringFitsEveryScreenShape) {
  for (const float height : {360.0f, 540.0f, 720.0f, 2275.0f}) {
    drawer = RecordingDrawer(TwoFloats(1280, height));
    GamePlayState state(&app, &sounds);
    playTo(state, 7);
    GamePlayDriver::finish(state, 7);
    int rings = 0;
    framesUntil(state, [&] {
      rings = 0;
      for (const auto &call : drawer.calls) rings += call.name == L"Circle";
      return state.getFadeOut() > 0.0f;
    });
    EXPECT_EQ(24, rings) << height;
    const TwoFloats viewTopLeft = state.getCamera() - drawer.getDrawingAreaSize() * 0.5f;
    EXPECT_EQ(0.0f, viewTopLeft.x);
    EXPECT_EQ(0.0f, viewTopLeft.y);
    for (int i = 0; i < GamePlayState::NumWorlds; ++i) {
      const World &world = state.getWorld(i);
      const TwoFloats centre = world.ringPositions[0] - viewTopLeft;
      EXPECT_TRUE(WorldDriver::onScreen(centre, drawer.getDrawingAreaSize())) << height << " world " << i;
      // Rings no larger against the screen than on a 720-high one.
      EXPECT_LE(world.scale * 512.0f / std::min(height, 720.0f), 0.3f * 512.0f / 720.0f + 1e-6f) << height;
    }
  }
}

// The area changes shape between frames, as a phone's page turns: every
// world has the new one from the next frame, and the world played, or the
// gathering, stays in view.
TEST_F(GamePlayStateTest, AnAreaChangingShapeReachesEveryWorldAndKeepsTheGameInView) {
  enum Moment { Playing, Travelling, Gathered };
  struct Case {
    Moment when;
    float fromHeight, toHeight;
    // The world played once the change has been drawn.
    int world;
  };
  const Case cases[] = {{Playing, 720, 2275, 1}, {Travelling, 2275, 720, 2}, {Gathered, 2275, 720, 7}};
  for (const Case &c : cases) {
    drawer = RecordingDrawer(TwoFloats(1280, c.fromHeight));
    GamePlayState state(&app, &sounds);
    playTo(state, c.when == Gathered ? 7 : 1);
    if (c.when == Travelling) {
      GamePlayDriver::finish(state, 1);
      framesUntil(state, [&] { return state.getTravel() > 0.5f; });
    } else if (c.when == Gathered) {
      GamePlayDriver::finish(state, 7);
      framesUntil(state, [&] {
        return state.getGatherProgress() >= 1.0f &&
               World::samePoint(state.getCamera(), TwoFloats(640, c.fromHeight * 0.5f));
      });
    }
    const TwoFloats area(1280, c.toHeight);
    drawer = RecordingDrawer(area);
    framesUntil(state, [&] { return !drawer.calls.empty() && state.getTravel() == 0.0f; });

    for (int i = 0; i < GamePlayState::NumWorlds; ++i)
      EXPECT_EQ(c.toHeight, state.getWorld(i).drawingAreaSize.y) << c.when << " world " << i;
    ASSERT_EQ(c.world, state.getCurrentWorld()) << c.when;
    if (c.when != Gathered) {
      // The camera on the world's home, which the world sees at the centre of the new area.
      const TwoFloats cameraOnScreen = state.getWorld(c.world).planeToScreen(state.getCamera());
      EXPECT_EQ(640.0f, cameraOnScreen.x) << c.when;
      EXPECT_EQ(c.toHeight * 0.5f, cameraOnScreen.y) << c.when;
      continue;
    }
    EXPECT_EQ(c.toHeight * 0.5f, state.getCamera().y);
    const TwoFloats viewTopLeft = state.getCamera() - area * 0.5f;
    for (int i = 0; i < GamePlayState::NumWorlds; ++i)
      EXPECT_TRUE(WorldDriver::onScreen(state.getWorld(i).ringPositions[0] - viewTopLeft, area)) << "world " << i;
  }
}

TEST_F(GamePlayStateTest, TheCurrentWorldRunsOutOfViewOthersOnlyInView) {
  struct Case {
    int world;
    TwoFloats position;
    float scale;
    bool drawn;
    float scaleAfter;
  };
  const Case cases[] = {
      {0, TwoFloats(5000, 5000), 0.3f, false, 0.299f},  // the current world
      {3, TwoFloats(5000, 5000), 0.3f, false, 0.3f},
      {3, TwoFloats(600, 300), 0.3f, true, 0.299f},
      // A slightly negative scale draws rings as large as a positive one.
      {3, TwoFloats(1284, 724), -0.02f, true, -0.02f},
      {3, TwoFloats(1294, 724), -0.02f, false, -0.02f},
  };
  for (const Case &c : cases) {
    drawer = RecordingDrawer(TwoFloats(1280, 960));
    GamePlayState state(&app, &sounds);
    World &world = state.getWorld(c.world);
    world.setPosition(c.position);
    world.scale = c.scale;
    int rings = 0;
    framesUntil(state, [&] {
      for (const auto &call : drawer.calls) rings += call.colour.x == world.ringColours[0].x;
      return !drawer.calls.empty();
    });
    EXPECT_EQ(960.0f, world.drawingAreaSize.y);
    EXPECT_EQ(c.drawn ? 1 : 0, rings) << "world " << c.world << " at " << c.position.x;
    EXPECT_FLOAT_EQ(c.scaleAfter, world.scale) << "world " << c.world << " at " << c.position.x;
  }
}

TEST(GamePlayStateWithGameSounder, BarsComeFromTheFourthWorldOnAndNoneAfterTheStateIsGone) {
  Platform::install();
  auto sounder = std::make_unique<MurmelSounder>();  // too large for the stack
  sounder->killNoise();
  sounder->loadSoundFileResource(
      boost::shared_ptr<SoundFileLoader>(new MemorySoundLoader(L"Music", std::vector<float>(2000, 0.1f))));
  FakeApplication app;
  RecordingDrawer drawer;
  auto state = std::make_unique<GamePlayState>(&app, static_cast<Sounder *>(sounder.get()));
  World3 &fourth = static_cast<World3 &>(state->getWorld(3));
  const int bar = MurmelSounder::BarLength;

  SoundRecorder::record(*sounder, bar + 1000);
  GamePlayDriver::playTo(*state, drawer, 3);
  EXPECT_FALSE(fourth.flashOnThisBar);  // no bar clock before the fourth world

  // Three bars (the second starts a red flash) while the main thread ticks the world.
  std::atomic<bool> mixed{false};
  std::thread audio([&] {
    SoundRecorder::record(*sounder, 3 * bar + 1000, 512);
    mixed = true;
  });
  GamePlayDriver::framesUntil(
      *state, drawer,
      [&] {
        drawer.calls.clear();
        return mixed.load();
      },
      1 << 30);
  audio.join();
  state->draw(boost::shared_ptr<Drawer>(&drawer, [](Drawer *) {}));
  EXPECT_TRUE(fourth.flashOnThisBar);

  // Bars go on while the state goes; none may reach it.
  std::atomic<int> frames{0};
  std::thread mixer([&] {
    std::vector<float> block(2 * 512);
    for (; frames < 4 * bar; frames += 512) sounder->getAudio(block.data(), block.data(), 512);
  });
  while (frames < bar / 2) std::this_thread::yield();
  state.reset();
  mixer.join();
}
