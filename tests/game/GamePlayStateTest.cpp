#include "game/GamePlayState.h"

#include "app/SDL1.2Backend/SDL1.2Thread.h"
#include "app/Thread.h"
#include "game/World0.h"
#include "game/World3.h"
#include "sound/MurmelSounder.h"

#include "support/FakeApplication.h"
#include "support/GamePlayDriver.h"
#include "support/MemorySoundLoader.h"
#include "support/RecordingDrawer.h"
#include "support/SoundRecorder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace {

// Hears what the state asks of the sounder, one line a call.
class RecordingSounds final : public GamePlayState::Sounds {
 public:
  int activateSound(const std::wstring &name) override {
    calls.push_back(L"activate " + name);
    return name.empty() ? -1 : ++handles;
  }
  void deactivateSound(int handle) override { calls.push_back(L"deactivate " + std::to_wstring(handle)); }
  void triggerSound(const std::wstring &name) override { calls.push_back(L"trigger " + name); }
  void killTriggered() override { calls.push_back(L"kill"); }
  void setNoiseLevel(float level) override { calls.push_back(L"noise " + std::to_wstring(level)); }
  void playMusic(const std::wstring &name) override { calls.push_back(L"music " + name); }
  void stopMusic() override { calls.push_back(L"stop music"); }
  void setCallback(MurmelSounder::Callback *callback) override {
    calls.push_back(callback ? L"listen" : L"stop listening");
  }

  std::vector<std::wstring> calls;
  int handles = 0;
};

using Calls = std::vector<std::wstring>;

class GamePlayStateTest : public ::testing::Test {
 protected:
  void SetUp() override { Thread::setBackendThreadCreator(&SDL1_2Thread::creator); }

  std::vector<RecordingDrawer::Call> frame(GamePlayState &state) {
    drawer.calls.clear();
    state.draw(boost::shared_ptr<Drawer>(&drawer, [](Drawer *) {}));
    return drawer.calls;
  }
  int framesUntil(GamePlayState &state, const std::function<bool()> &done) {
    return GamePlayDriver::framesUntil(state, drawer, [&] {
      const bool result = done();
      drawer.calls.clear();
      return result;
    });
  }
  void playTo(GamePlayState &state, int world) { GamePlayDriver::playTo(state, drawer, world); }
  static void finish(GamePlayState &state, int world) { GamePlayDriver::finish(state, world); }

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
    finish(state, 0);
    float brightest = 0.0f;
    const int flash = framesUntil(state, [&] {
      for (const auto &call : drawer.calls) {
        if (call.colour.x == 1.0f && call.colour.z == 1.0f) brightest = std::max(brightest, call.alpha);
      }
      // Once seen, done holds for the flash and the journey.
      if (state.isFlashing()) static_cast<World0 &>(state.getWorld(0)).done = false;
      return state.getTravel() > 0.0f;
    });
    EXPECT_EQ(34, flash);
    EXPECT_GT(brightest, 0.99f);

    const TwoFloats before = static_cast<World0 &>(state.getWorld(0)).followPoint;
    const int journey = framesUntil(state, [&] {
      // The last world's closing flash has no part in a journey.
      EXPECT_FALSE(state.isFlashing() || state.isClosing());
      state.mouseMove(TwoFloats(1, 1));
      if (state.getTravel() > 0.5f && sounds.calls.empty()) state.keyDown(L"Action", L" ", 0);
      return state.getCurrentWorld() == 1;
    });
    EXPECT_EQ(100, journey);
    EXPECT_EQ(before.x, static_cast<World0 &>(state.getWorld(0)).followPoint.x);  // no mouse while travelling
    // "Action" during the journey replays the passage of the world being left.
    EXPECT_EQ((Calls{L"kill", L"trigger Speech_World0", L"noise 0.875000", L"deactivate 1", L"kill",
                     L"activate HandDrum", L"trigger Speech_World1"}),
              sounds.calls);
    EXPECT_EQ(1920.0f, state.getCamera().x);
    EXPECT_EQ(0.0f, state.getCamera().y);
    sounds.calls.clear();
  }
  EXPECT_EQ((Calls{L"stop listening"}), sounds.calls);
}

TEST_F(GamePlayStateTest, EachWorldChangeStepsTheNoiseDownAnEighthAndTheFourthStartsTheMusic) {
  GamePlayState state(&app, &sounds);
  const wchar_t *instruments[] = {L"HandDrum",   L"Scraper",   L"",           L"DanglyDrumThing",
                                  L"FingerBell", L"RainStick", L"SingingBowl"};
  int handle = 1, issued = 1;
  for (int world = 1; world <= 7; ++world) {
    sounds.calls.clear();
    playTo(state, world);
    const std::wstring instrument = instruments[world - 1];
    Calls expected{L"noise " + std::to_wstring(1.0f - world / 8.0f), L"deactivate " + std::to_wstring(handle), L"kill",
                   L"activate " + instrument, L"trigger Speech_World" + std::to_wstring(world)};
    handle = instrument.empty() ? -1 : ++issued;
    if (world == 3) expected.push_back(L"music Music");
    EXPECT_EQ(expected, sounds.calls) << "entering world " << world;
  }
}

TEST_F(GamePlayStateTest, BarsFromTheAudioThreadReachTheWorldsOnTheNextFrame) {
  GamePlayState state(&app, &sounds);
  World3 &fourth = static_cast<World3 &>(state.getWorld(3));
  state.barStart();
  state.barStart();
  EXPECT_FALSE(fourth.flashOnThisBar);
  EXPECT_EQ(0.0f, fourth.flashPhase);
  frame(state);
  // Both bars arrive, in order: the second starts a red flash, which stands
  // still while the world is out of view.
  EXPECT_FALSE(fourth.flashOnThisBar);
  frame(state);
  EXPECT_FLOAT_EQ(0.02f, fourth.flashPhase);
}

TEST_F(GamePlayStateTest, TheClosingSequenceGathersPulsesFadesAndQuits) {
  GamePlayState state(&app, &sounds);
  playTo(state, 7);
  EXPECT_FALSE(state.isFlashing() || state.isClosing());
  sounds.calls.clear();
  state.getWorld(3).ringColours[0] = ThreeFloats(1, 0, 0);  // a red flash frozen out of view
  finish(state, 7);
  EXPECT_EQ(34, framesUntil(state, [&] { return state.isClosing(); }));
  EXPECT_EQ((Calls{L"noise 0.000000", L"deactivate 7"}), sounds.calls);
  EXPECT_FLOAT_EQ(0.58431375f, state.getWorld(3).ringColours[0].y);

  state.barStart();  // a bar while gathering starts no pulse
  const int gathering = framesUntil(state, [&] { return state.getGatherProgress() >= 1.0f; });
  EXPECT_NEAR(500, gathering, 1);
  EXPECT_EQ(0.0f, state.getPulsePhase());
  for (int i = 0; i < GamePlayState::NumWorlds; ++i) EXPECT_FLOAT_EQ(0.2f, state.getWorld(i).scale);
  EXPECT_FLOAT_EQ(163.84001f, state.getWorld(0).ringPositions[0].x);
  EXPECT_FLOAT_EQ(120.0f, state.getWorld(7).ringPositions[2].y);

  state.barStart();
  frame(state);
  float largest = 0.0f;
  const int pulse = framesUntil(state, [&] {
    largest = std::max(largest, state.getWorld(5).scale);
    return state.getPulsePhase() == 0.0f;
  });
  EXPECT_NEAR(49, pulse, 1);
  EXPECT_NEAR(0.3f, largest, 1e-3f);

  sounds.calls.clear();
  EXPECT_EQ(1600 - gathering - 1 - pulse, framesUntil(state, [&] { return state.getFadeOut() > 0.0f; }));
  EXPECT_EQ((Calls{L"stop music"}), sounds.calls);
  EXPECT_EQ(640.0f, state.getCamera().x);  // the camera has glided home
  EXPECT_EQ(360.0f, state.getCamera().y);
  const int fade = framesUntil(state, [&] { return app.quitCalls > 0; });
  EXPECT_NEAR(100, fade, 1);
}

TEST_F(GamePlayStateTest, KeysEscapeQuitsAndActionReplaysWithoutPilingUp) {
  struct Case {
    const wchar_t *action;
    int quits;
    Calls calls;
  };
  const Case cases[] = {
      {L"Escape", 1, {}},
      {L"Action", 0, {L"kill", L"trigger Speech_World2", L"kill", L"trigger Speech_World2"}},
      {L"P1Up", 0, {}},
  };
  for (const Case &c : cases) {
    FakeApplication application;
    GamePlayState state(&application, &sounds);
    playTo(state, 2);
    sounds.calls.clear();
    state.keyDown(c.action, L" ", 0);
    if (c.quits == 0) state.keyDown(c.action, L" ", 0);
    EXPECT_EQ(c.quits, application.quitCalls) << c.action;
    EXPECT_EQ(c.calls, sounds.calls) << c.action;
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
      {0, TwoFloats(5000, 5000), 0.3f, false, 0.299f},  // the current world, far out of view
      {3, TwoFloats(5000, 5000), 0.3f, false, 0.3f},    // another world out of view stands still
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
    const auto calls = frame(state);
    EXPECT_EQ(1280.0f, world.drawingAreaSize.x);
    EXPECT_EQ(960.0f, world.drawingAreaSize.y);
    int rings = 0;
    for (const auto &call : calls) {
      const ThreeFloats &colour = world.ringColours[0];
      rings += call.name == L"Circle" && call.colour.x == colour.x && call.colour.y == colour.y;
    }
    EXPECT_EQ(c.drawn ? 1 : 0, rings) << "world " << c.world << " at " << c.position.x;
    EXPECT_FLOAT_EQ(c.scaleAfter, world.scale) << "world " << c.world << " at " << c.position.x;
  }
}

TEST(GamePlayStateWithGameSounder, BarsComeFromTheFourthWorldOnAndNoneAfterTheStateIsGone) {
  Thread::setBackendThreadCreator(&SDL1_2Thread::creator);
  auto sounderOwner = std::make_unique<MurmelSounder>();  // too large for the stack
  MurmelSounder &sounder = *sounderOwner;
  sounder.killNoise();
  sounder.loadSoundFileResource(
      boost::shared_ptr<SoundFileLoader>(new MemorySoundLoader(L"Music", std::vector<float>(2000, 0.1f))));
  FakeApplication app;
  RecordingDrawer drawer;
  auto state = std::make_unique<GamePlayState>(&app, static_cast<Sounder *>(&sounder));
  World3 &fourth = static_cast<World3 &>(state->getWorld(3));
  auto frame = [&] {
    drawer.calls.clear();
    state->draw(boost::shared_ptr<Drawer>(&drawer, [](Drawer *) {}));
  };
  const int barPlus = MurmelSounder::BarLength + 1000;

  SoundRecorder::record(sounder, barPlus);
  frame();
  EXPECT_FALSE(fourth.flashOnThisBar);  // no bar clock yet
  for (int world = 0; world < 3; ++world) {
    GamePlayDriver::finish(*state, world);
    while (state->getCurrentWorld() == world) frame();
  }
  // The audio thread mixes one bar while the main thread draws.
  std::thread audio([&] { SoundRecorder::record(sounder, barPlus, 512); });
  for (int i = 0; i < 20; ++i) frame();
  audio.join();
  frame();
  EXPECT_TRUE(fourth.flashOnThisBar);

  // Bars keep coming while the state goes; none may reach it.
  std::atomic<bool> stop{false};
  std::atomic<int> mixed{0};
  std::thread mixer([&] {
    std::vector<float> block(2 * 512);
    while (!stop.load()) {
      sounder.getAudio(block.data(), block.data(), 512);
      mixed += 512;
    }
  });
  while (mixed.load() < MurmelSounder::BarLength / 2) std::this_thread::yield();
  state.reset();
  const int after = mixed.load();
  while (mixed.load() < after + 3 * MurmelSounder::BarLength) std::this_thread::yield();
  stop = true;
  mixer.join();
}
