#include "AutoplayOptions.h"
#include "DiskAudio.h"
#include "Robot.h"
#include "Screenshots.h"
#include "Timeline.h"
#include "TitleStopwatch.h"

#include "app/CmdLineParams.h"
#include "app/CriticalSection.h"
#include "app/SDL1.2Backend/SDL1.2Application.h"
#include "app/SDL1.2Backend/SDL1.2CriticalSection.h"
#include "app/SDL1.2Backend/SDL1.2Thread.h"
#include "app/Thread.h"
#include "sound/AudioDevice.h"

#include <cstdio>
#include <memory>

namespace {

const char *const name = "murmel-worlds-autoplay";

struct AudioFormat {
  int sampleRate = 44100;
  int channels = 2;
};

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

// Runs the game with the robot at the controls; the robot's verdict as the exit status.
int play(const AutoplayOptions &options, Screenshots *screenshots, AudioFormat &format) {
  std::unique_ptr<SDL1_2Application> app(new SDL1_2Application());
  app->setFrameCap(!options.uncapped);
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
  if (options.untilTitle) return timeStartUp(*app);

  Timeline timeline;
  const std::string capture = DiskAudio::capturePath();
  if (!capture.empty()) timeline.recordAudioFrom(capture, format.channels);
  Robot robot(timeline, screenshots, options.maxFrames);
  app->setFrameHook(&robot);
  app->eventLoop();
  app->setFrameHook(nullptr);

  if (robot.finished()) {
    const Timeline::Mark *click = timeline.find("click"), *quit = timeline.find("quit");
    if (click && quit) {
      const double seconds = quit->seconds - click->seconds;
      std::printf("autoplay: finished: %ld frames from the click to the quit in %.2f s (%.0f frames a second)\n",
                  quit->frame - click->frame, seconds, seconds > 0 ? (quit->frame - click->frame) / seconds : 0.0);
    }
    return 0;
  }
  if (robot.gaveUp())
    std::fprintf(stderr, "%s: stuck %s after %ld frames\n", name, robot.where().c_str(), options.maxFrames);
  else
    std::fprintf(stderr, "%s: the game ended %s before it was finished\n", name, robot.where().c_str());
  return 1;
}

}  // namespace

int main(int argc, char *argv[]) {
  AutoplayOptions options;
  std::string error;
  if (!options.parse(argc, argv, error)) {
    std::fprintf(stderr, "%s: %s\n%s", name, error.c_str(), AutoplayOptions::usage());
    return 2;
  }
  if (options.helpRequested) {
    std::printf("%s", AutoplayOptions::usage());
    return 0;
  }
  std::unique_ptr<Screenshots> screenshots;
  if (!options.screenshotDir.empty()) {
    screenshots.reset(new Screenshots(options.screenshotDir));
    if (!screenshots->prepare()) return 1;
  }

  Thread::setBackendThreadCreator(&SDL1_2Thread::creator);
  CriticalSection::setBackendCritSecCreator(&SDL1_2CriticalSection::creator);
  AudioFormat format;
  // The application is gone once play returns: SDL has closed the recording.
  int status = play(options, screenshots.get(), format);

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
