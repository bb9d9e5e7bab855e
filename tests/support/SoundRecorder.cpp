#include "support/SoundRecorder.h"

#include "framework/sound/FileSounder.h"

#include <algorithm>

std::vector<float> SoundRecorder::record(FileSounder &sounder, int frames, int block) {
  std::vector<float> output(2 * static_cast<size_t>(frames), 0.0f);
  for (int done = 0; done < frames; done += block) {
    float *out = output.data() + 2 * done;
    sounder.getAudio(out, out, std::min(block, frames - done));
    sounder.updateStreams();
  }
  return output;
}
