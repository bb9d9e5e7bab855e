#include "support/GamePlayFrames.h"

#include "game/GamePlayState.h"
#include "game/World.h"
#include "support/FakeApplication.h"
#include "support/GamePlayDriver.h"

#include <functional>

namespace {

std::vector<GamePlayFrames::Frame> record(GamePlayState &state, RecordingDrawer &recorder, int frameCount,
                                          const std::function<void(int)> &beforeFrame) {
  const boost::shared_ptr<Drawer> shared(&recorder, [](Drawer *) {});
  std::vector<GamePlayFrames::Frame> frames;
  for (int i = 0; i < frameCount; ++i) {
    beforeFrame(i);
    recorder.calls.clear();
    state.draw(shared);
    frames.push_back(recorder.calls);
  }
  return frames;
}

}  // namespace

std::vector<GamePlayFrames::Frame> GamePlayFrames::journey() {
  FakeApplication app;
  GamePlayState state(&app, static_cast<GamePlayState::Sounds *>(nullptr));
  RecordingDrawer recorder;
  GamePlayDriver::finish(state, 0);
  state.getWorld(0).scale = 0.66f;
  state.getWorld(2).setPosition(TwoFloats(1280, 180));
  state.getWorld(2).scale = 0.3f;
  state.getWorld(3).setPosition(TwoFloats(1350, 300));
  state.getWorld(3).scale = 0.3f;
  GamePlayDriver::framesUntil(state, recorder, [&] { return state.getTravel() >= 0.5f; });
  // The journey advances a hundredth a frame; both ends leave the view at about 0.68.
  return record(state, recorder, 17, [](int) {});
}

std::vector<GamePlayFrames::Frame> GamePlayFrames::closing(int frameCount) {
  FakeApplication app;
  GamePlayState state(&app, static_cast<GamePlayState::Sounds *>(nullptr));
  RecordingDrawer recorder;
  GamePlayDriver::playTo(state, recorder, 7);
  GamePlayDriver::finish(state, 7);
  GamePlayDriver::framesUntil(state, recorder, [&] { return state.getGatherProgress() >= 1.0f; });
  return record(state, recorder, frameCount, [&](int i) {
    if (i % 60 == 59) state.barStart(0);
  });
}
