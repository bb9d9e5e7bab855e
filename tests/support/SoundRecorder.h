#pragma once

#include <vector>

class FileSounder;

// Drives a sounder as an audio device would, on the calling thread, and
// keeps what it produced.
class SoundRecorder {
 public:
  // Mixes `frames` frames into silent blocks of `block` frames and returns
  // them as interleaved stereo. After each block the streams are refilled, so
  // that streamed sounds never wait for the streaming thread.
  static std::vector<float> record(FileSounder &sounder, int frames, int block = 4096);
};
