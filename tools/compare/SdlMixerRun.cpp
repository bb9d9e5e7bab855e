// SDL_mixer 1.2 mixing CHANNELS looping chunks through whatever SDL audio
// driver the environment names (the harness: the disk driver, flat out, into
// /dev/null). Prints the process CPU time over exactly FRAMES output frames
// once every channel plays.

#include "FrameWindow.h"
#include "MixRunOptions.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int blockFrames = 4096;
constexpr int bytesPerFrame = 4;

void countFrames(void *window, Uint8 *, int bytes) {
  static_cast<FrameWindow *>(window)->blockDone(bytes / bytesPerFrame);
}

}  // namespace

int main(int argc, char *argv[]) {
  MixRunOptions options;
  if (!options.parse(argc, argv)) return 2;
  if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_TIMER) != 0 || Mix_OpenAudio(44100, AUDIO_S16LSB, 2, blockFrames) != 0) {
    std::fprintf(stderr, "%s: cannot open audio: %s\n", argv[0], Mix_GetError());
    return 1;
  }
  Mix_AllocateChannels(options.channels);
  std::vector<Mix_Chunk *> chunks;
  for (const std::string &file : options.files) {
    Mix_Chunk *chunk = Mix_LoadWAV(file.c_str());
    if (!chunk) {
      std::fprintf(stderr, "%s: cannot load %s: %s\n", argv[0], file.c_str(), Mix_GetError());
      return 1;
    }
    chunks.push_back(chunk);
  }
  const long long fileFrames = chunks.empty() ? 0 : chunks.front()->alen / bytesPerFrame;

  FrameWindow window(options.frames);
  Mix_SetPostMix(countFrames, &window);
  for (int channel = 0; channel < options.channels; ++channel) {
    window.waitForFrames(MixRunOptions::staggeredStart(channel, options.channels, fileFrames));
    Mix_PlayChannel(channel, chunks[static_cast<size_t>(channel) % chunks.size()], -1);
  }
  // One block more, so that the last channel's first block is behind us.
  window.waitForFrames(window.framesSoFar() + blockFrames);
  window.measure();
  window.report();

  Mix_SetPostMix(nullptr, nullptr);
  Mix_HaltChannel(-1);
  for (Mix_Chunk *chunk : chunks) Mix_FreeChunk(chunk);
  Mix_CloseAudio();
  SDL_Quit();
  return 0;
}
