// The game's sounder mixing CHANNELS looping instruments through the game's
// SDL audio device and whatever SDL audio driver the environment names (the
// harness: the disk driver, flat out, into /dev/null). Prints the process CPU
// time over exactly FRAMES output frames once every channel plays.
//
// Modes:
//   preloaded  the files mixed from memory
//   streamed   the files streamed as the game streams long files
//   fading     from memory, every slot always fading in or out (FadeCycle)
//
// The noise bed is off in every mode, so that only the slots are measured.
// No thread back-end is installed, so the sounder has no streaming thread: its
// 62-ms pace is wall-clock time, which a flat-out stream outruns many times
// over. The device callback refills the rings itself after every block
// instead, and that refill's CPU time is reported apart.

#include "FadeCycle.h"
#include "FrameWindow.h"
#include "MixRunOptions.h"

#include "base/FilePath.h"
#include "platforms/SDL1.2Backend/SDL1.2AudioDevice.h"
#include "base/UTF8File.h"
#include "framework/sound/AudioDeviceCallback.h"
#include "game/MurmelSounder.h"
#include "framework/sound/VorbisfileLoader.h"

#include <SDL/SDL.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int blockFrames = 4096;

// The application's part: hands each block to the sounder. Between blocks no
// mix is in progress, so the fade cycle may start and stop sounds here.
class Host final : public AudioDeviceCallback {
 public:
  Host(MurmelSounder &sounder, FrameWindow &window, FadeCycle *fades)
      : sounder(sounder), window(window), fades(fades) {}

  void getAudio(float *input, float *output, int numSamples) override {
    sounder.getAudio(input, output, numSamples);
    window.blockDone(numSamples);
    const double refillStart = FrameWindow::threadCpuSeconds();
    sounder.updateStreams();
    if (fades) fades->afterBlock(window.framesSoFar());
    window.exclude(FrameWindow::threadCpuSeconds() - refillStart);
  }

 private:
  MurmelSounder &sounder;
  FrameWindow &window;
  FadeCycle *fades;
};

std::wstring wide(const std::string &text) {
  std::wstring result;
  UTF8File::charToWstring(text.c_str(), result);
  return result;
}

}  // namespace

int main(int argc, char *argv[]) {
  MixRunOptions options;
  if (!options.parse(argc, argv)) return 2;
  const bool fading = options.mode == "fading";
  if (!fading && options.mode != "preloaded" && options.mode != "streamed") {
    std::fprintf(stderr, "%s: --mode must be preloaded, streamed or fading\n", argv[0]);
    return 2;
  }
  if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_TIMER) != 0) {
    std::fprintf(stderr, "%s: cannot start SDL: %s\n", argv[0], SDL_GetError());
    return 1;
  }

  // Its slots' rings are far too large for the stack.
  const std::unique_ptr<MurmelSounder> sounderOwner(new MurmelSounder());
  MurmelSounder &sounder = *sounderOwner;
  sounder.killNoise();
  if (options.mode != "streamed") sounder.setStreamingThreshold(1LL << 40);
  std::vector<std::wstring> names;
  long long fileFrames = 0;
  for (const std::string &file : options.files) {
    const boost::shared_ptr<SoundFileLoader> loader = VorbisfileLoader::creator.createLoader(FilePath(wide(file)));
    if (loader->getFileLength() == 0) return 1;
    fileFrames = loader->getFileLength();
    names.push_back(loader->getName());
    sounder.loadSoundFileResource(loader);
  }

  FrameWindow window(options.frames);
  FadeCycle fadeCycle(sounder, names, options.channels, blockFrames);
  Host host(sounder, window, fading ? &fadeCycle : nullptr);
  SDL1_2AudioDevice device;
  device.setCallback(&host);
  sounder.setNumChannels(device.getNumInputs(), device.getNumOutputs());
  sounder.setSamplerate(device.getSamplerate());
  if (!device.start()) {
    std::fprintf(stderr, "%s: cannot open audio: %s\n", argv[0], SDL_GetError());
    return 1;
  }

  if (fading) {
    // Every slot has begun its first fade by the end of one cycle.
    window.waitForFrames(fadeCycle.cycleFrames() + blockFrames);
  } else {
    for (int channel = 0; channel < options.channels; ++channel) {
      window.waitForFrames(MixRunOptions::staggeredStart(channel, options.channels, fileFrames));
      if (sounder.activateSound(names[static_cast<size_t>(channel) % names.size()]) < 0) return 1;
    }
    // Instruments fade in over 100000 frames; measure them at full level.
    window.waitForFrames(window.framesSoFar() + 100000 + blockFrames);
  }
  window.measure();
  window.report();
  device.stop();
  SDL_Quit();
  return 0;
}
