// The robot player in the browser: the page's game with the robot at the
// controls, printing its milestones to the console as the desktop robot
// prints them, down to "autoplay: finished: …". The page calls main on its
// click with the robot's options (--uncapped, --persona, --max-frames,
// --time-audio, --flash-report) and the game's.
#include "Players.h"
#include "base/Random.h"
#include "harness/AutoplayOptions.h"
#include "harness/FlashMeter.h"
#include "harness/Robot.h"
#include "harness/Timeline.h"
#include "harness/Verdict.h"
#include "web/PageFrames.h"

#include "framework/app/Platform.h"
#include "framework/sound/AudioDevice.h"
#include "framework/sound/CallbackTimer.h"
#include "game/MurmelGame.h"
#include "platforms/SDL1.2Backend/SDL1.2Application.h"
#include "platforms/web/WebMainLoop.h"

#include <cstdio>
#include <memory>

namespace {

// Room for every callback of a whole game at Web Audio's blocks.
constexpr std::size_t timedCallsCapacity = 1 << 16;

class RobotSession final : public WebMainLoop::Extension {
 public:
  RobotSession(const AutoplayOptions &options, Player::Maker player) : options(options) {
    if (options.timeAudio) timer.reset(new CallbackTimer(timedCallsCapacity));
    if (options.flashReport) flashMeter.reset(new FlashMeter());
    robot.reset(new Robot(timeline, &frames, options.maxFrames, std::move(player)));
    robot->setUncapped(options.uncapped);
    robot->setFlashMeter(flashMeter.get());
    robot->setFlashTimes(options.flashTimes);
    robot->setAudioStallWorld(options.stallAudioWorld);
  }

  void prepare(SDL1_2Application &app) override {
    app.setFrameCap(!options.uncapped);
    app.setCallbackTimer(timer.get());
    app.setFrameHook(robot.get());
  }

  int ended(SDL1_2Application &app, int status) override {
    app.setFrameHook(nullptr);
    const int rate = app.getAudioDevice() ? static_cast<int>(app.getAudioDevice()->getSamplerate()) : 44100;
    if (status == 0) status = Verdict::ofPlay(*robot, timeline, options.maxFrames);
    if (flashMeter) std::printf("autoplay: %s\n", flashMeter->report().describe().c_str());
    if (timer) {
      // The audio device still runs (it stops with the application): what has been recorded so far.
      const std::size_t count = timer->recordedCount();
      Verdict::reportCalls("audio callbacks", timer->records(0, count), 0, rate);
    }
    std::fflush(stdout);
    return status;
  }

 private:
  AutoplayOptions options;
  Timeline timeline;
  PageFrames frames;
  std::unique_ptr<CallbackTimer> timer;
  std::unique_ptr<FlashMeter> flashMeter;
  std::unique_ptr<Robot> robot;
};

}  // namespace

int main(int argc, char *argv[]) {
  Platform::install();
  AutoplayOptions options;
  std::string error;
  Player::Maker player;
  if (!options.parse(argc, argv, error) ||
      !(player = choosePlayer(options.player, options.watchFlashes, options.firstTime,
                              static_cast<uint32_t>(options.seed), error))) {
    std::fprintf(stderr, "%s: %s\n%s", Verdict::programName, error.c_str(), AutoplayOptions::usage());
    return 2;
  }
  if (options.seeded) Random::getGlobal().reseed(options.seed);
  std::unique_ptr<RobotSession> session(new RobotSession(options, std::move(player)));
  // The browser's loop outlives this call.
  static const MurmelGame game;
  return WebMainLoop::run(game, options.gameArguments, std::move(session)) ? 0 : 1;
}
