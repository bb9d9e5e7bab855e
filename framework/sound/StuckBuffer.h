#pragma once

#include <boost/array.hpp>

// A stuck-record effect: at random moments (never in its first 100000
// frames) it replaces the signal by a short loop of what was just heard, for
// 4 to 19 blocks, with the live signal added at half level. Its output is
// single-channel: the left input feeds both sides. Audio thread only; the
// recording memory is part of the object.
class StuckBuffer {
 public:
  static constexpr int BufferFrames = 22050;

  StuckBuffer();

  // Processes numSamples interleaved stereo frames in place.
  void getAudio(float *output, int numSamples);

  bool isStuck() const { return stuck; }

 private:
  boost::array<float, BufferFrames> buffer;
  bool stuck = false;
  int loopLength = BufferFrames;
  int position = 0;
  int repeatsLeft = 0;
  float warmUp = 0.0f;
};
