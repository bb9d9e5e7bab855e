#include "Players.h"
#include "harness/AutoplayOptions.h"
#include "harness/DiskAudio.h"
#include "harness/FlashMeter.h"
#include "harness/Robot.h"
#include "harness/Screenshots.h"
#include "harness/SlotFiller.h"
#include "harness/Timeline.h"
#include "harness/TitleStopwatch.h"
#include "harness/Verdict.h"
#include "personas/Persona.h"

#include "base/CriticalSection.h"
#include "base/Random.h"
#include "base/Thread.h"
#include "framework/app/CmdLineParams.h"
#include "framework/app/Platform.h"
#include "framework/sound/AudioDevice.h"
#include "framework/sound/CallbackTimer.h"
#include "framework/sound/FileSounder.h"
#include "game/MurmelGame.h"
#include "game/MurmelSounder.h"
#include "platforms/SDL1.2Backend/SDL1.2Application.h"
#include "support/LibraryPins.h"

#include <cstdio>
#include <memory>

namespace {

const char *const name = Verdict::programName;

struct AudioFormat {
  int sampleRate = 44100;
  int channels = 2;
};

// Room for every callback of a run many hours long at SDL's 4096-frame blocks.
constexpr std::size_t timedCallsCapacity = 1 << 18;

// What the slot filler did, for the report once the device has stopped.
struct FillReport {
  bool filled = false;
  std::size_t firstCall = 0;
  std::size_t endCall = 0;
};

// The figures of every call and of those while the slots were kept busy; 1
// when any call was late or none was timed.
int reportTimedCalls(const CallbackTimer &timer, const FillReport &fill, int world, double rate) {
  const std::size_t all = timer.recordedCount();
  std::size_t late = Verdict::reportCalls("audio callbacks", timer.records(0, all), 0, rate);
  if (timer.droppedCount() > 0) std::printf("autoplay: %zu more audio callbacks not kept\n", timer.droppedCount());
  if (fill.filled)
    late += Verdict::reportCalls("audio callbacks with every slot busy in world " + std::to_string(world),
                                 timer.records(fill.firstCall, fill.endCall), fill.firstCall, rate);
  if (all == 0) {
    std::fprintf(stderr, "%s: no audio callback was timed: no audio device ran\n", name);
    return 1;
  }
  if (late == 0) return 0;
  std::fprintf(stderr, "%s: audio callbacks took longer than their block plays for\n", name);
  return 1;
}

// Runs the game up to its title screen's first frame.
int timeStartUp(SDL1_2Application &app) {
  TitleStopwatch stopwatch;
  app.setFrameHook(&stopwatch);
  app.eventLoop();
  app.setFrameHook(nullptr);
  if (stopwatch.reachedTitle()) return 0;
  std::fprintf(stderr, "%s: the game ended before its title screen\n", name);
  return 1;
}

// Whether every slot was playing after each frame of the filler's world.
bool checkFilled(const SlotFiller &filler) {
  if (!filler.done() || filler.fewestBusy() < FileSounder::NumSlots) {
    std::fprintf(stderr, "%s: the slots were not all kept busy through world %d (at least %d of %d)\n", name,
                 filler.world(), filler.fewestBusy(), FileSounder::NumSlots);
    return false;
  }
  std::printf(
      "autoplay: all %d slots were busy after every frame of world %d; %lld frames of streamed sound "
      "(summed over the slots) were not decoded in time and played as silence\n",
      FileSounder::NumSlots, filler.world(), filler.missedFrames());
  return true;
}

// Runs the game with the robot at the controls; the robot's verdict as the exit status.
int play(const AutoplayOptions &options, Player::Maker player, Screenshots *screenshots, AudioFormat &format,
         CallbackTimer *timer, FillReport &fill, FlashMeter *flashMeter) {
  const MurmelGame game;
  std::unique_ptr<SDL1_2Application> app(new SDL1_2Application(game));
  app->setFrameCap(!options.uncapped);
  app->setCallbackTimer(timer);
  CmdLineParams params(options.gameArguments);
  app->initialise(params);
  if (app->getExitStatus() != 0 || !app->getDrawer()) {
    std::fprintf(stderr, "%s: stuck at start-up: the game could not start\n", name);
    return 1;
  }
  if (const auto device = app->getAudioDevice()) {
    format.sampleRate = static_cast<int>(device->getSamplerate());
    format.channels = device->getNumOutputs();
  }
  // Mesa's driver, opened with the window, would be unloaded when the window
  // goes, and a leak report at exit could not name what it still holds.
  pinLoadedLibraries();
  if (options.untilTitle) return timeStartUp(*app);

  Timeline timeline;
  const std::string capture = DiskAudio::capturePath();
  if (!capture.empty()) timeline.recordAudioFrom(capture, format.channels);
  Robot robot(timeline, screenshots, options.maxFrames, std::move(player));
  robot.setUncapped(options.uncapped);
  robot.setFlashMeter(flashMeter);
  robot.setFlashTimes(options.flashTimes);
  robot.setAudioStallWorld(options.stallAudioWorld);
  std::unique_ptr<SlotFiller> filler;
  if (options.fillSlotsWorld >= 0) {
    MurmelSounder *sounder = dynamic_cast<MurmelSounder *>(app->getSounder());
    if (!sounder) {
      std::fprintf(stderr, "%s: --fill-slots needs the game's sounder\n", name);
      return 1;
    }
    filler.reset(new SlotFiller(*sounder, options.fillSlotsWorld, timeline, timer));
    robot.setSlotFiller(filler.get());
  }
  app->setFrameHook(&robot);
  app->eventLoop();
  app->setFrameHook(nullptr);
  if (filler) {
    fill.filled = filler->done();
    fill.firstCall = filler->firstCall();
    fill.endCall = filler->endCall();
  }

  if (robot.finished() && filler && !checkFilled(*filler)) return 1;
  return Verdict::ofPlay(robot, timeline, options.maxFrames);
}

}  // namespace

int main(int argc, char *argv[]) {
  AutoplayOptions options;
  std::string error;
  Player::Maker player;
  if (!options.parse(argc, argv, error) ||
      !(player = choosePlayer(options.player, options.watchFlashes, options.firstTime,
                              static_cast<uint32_t>(options.seed), error))) {
    std::fprintf(stderr, "%s: %s\n%s", name, error.c_str(), AutoplayOptions::usage());
    return 2;
  }
  if (options.helpRequested) {
    std::printf("%s", AutoplayOptions::usage());
    return 0;
  }
  if (options.listPersonas) {
    std::printf("%s", Persona::table().c_str());
    return 0;
  }
  std::unique_ptr<Screenshots> screenshots;
  if (!options.screenshotDir.empty()) {
    screenshots.reset(new Screenshots(options.screenshotDir));
    if (!screenshots->prepare()) return 1;
  }

  if (options.seeded) Random::getGlobal().reseed(options.seed);
  Platform::install();
  AudioFormat format;
  std::unique_ptr<CallbackTimer> timer;
  if (options.timeAudio) timer.reset(new CallbackTimer(timedCallsCapacity));
  FillReport fill;
  // The application is gone once play returns: SDL has closed the recording,
  // and the audio device has made its last call.
  std::unique_ptr<FlashMeter> flashMeter;
  if (options.flashReport) flashMeter.reset(new FlashMeter());
  int status = play(options, std::move(player), screenshots.get(), format, timer.get(), fill, flashMeter.get());
  if (flashMeter) std::printf("autoplay: %s\n", flashMeter->report().describe().c_str());
  if (timer && reportTimedCalls(*timer, fill, options.fillSlotsWorld, format.sampleRate) != 0) status = 1;

  if (screenshots && !screenshots->writeContactSheet()) status = 1;
  const std::string capture = DiskAudio::capturePath();
  if (!options.wavFile.empty()) {
    if (capture.empty()) {
      std::fprintf(stderr, "%s: --wav needs SDL_AUDIODRIVER=disk; no sound was recorded\n", name);
      status = 1;
    } else if (!DiskAudio::writeWav(capture, options.wavFile, format.sampleRate, format.channels)) {
      status = 1;
    }
  }
  return status;
}
