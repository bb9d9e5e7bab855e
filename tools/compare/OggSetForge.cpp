// Writes the comparison's sound set: eight looping 10-second stereo Ogg Vorbis
// files, music-like and each distinct (its own key, tempo, timbre and
// pattern), as DIR/Loop0.ogg ... DIR/Loop7.ogg.

#include "support/OggTestFile.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr long rate = 44100;
constexpr long frames = 10 * rate;
constexpr int fileCount = 8;
constexpr double pi = 3.14159265358979323846;

// A plucked note with a few harmonics, added into interleaved stereo.
void pluck(std::vector<float> &out, long start, double frequency, double seconds, double gain, double pan,
           int harmonics) {
  const long length = static_cast<long>(seconds * rate);
  for (long i = 0; i < length; ++i) {
    // Notes past the end wrap around, so that the file loops without a seam.
    const long frame = (start + i) % frames;
    const double t = static_cast<double>(i) / rate;
    const double envelope = std::exp(-4.0 * t / seconds) * std::min(1.0, t * 400.0);
    double value = 0.0;
    for (int h = 1; h <= harmonics; ++h) value += std::sin(2.0 * pi * frequency * h * t) / (h * h);
    value *= gain * envelope;
    out[2 * frame] += static_cast<float>(value * (1.0 - pan));
    out[2 * frame + 1] += static_cast<float>(value * pan);
  }
}

std::vector<float> piece(int index) {
  static const int scale[] = {0, 2, 4, 7, 9, 12, 14, 16};
  std::vector<float> out(2 * frames, 0.0f);
  // Whole beats in ten seconds keep the loop in time.
  const int beats = 16 + 2 * index;
  const long beatFrames = frames / beats;
  const double root = 110.0 * std::pow(2.0, index * 5 / 12.0);
  for (int beat = 0; beat < beats; ++beat) {
    if (beat % 4 == 0) pluck(out, beat * beatFrames, root / 2.0, 1.5, 0.35, 0.5, 2);
    for (int half = 0; half < 2; ++half) {
      const int step = (beat * (3 + index) + half * (index + 1)) % 8;
      const double frequency = root * std::pow(2.0, scale[step] / 12.0);
      const double pan = 0.2 + 0.6 * ((beat + half + index) % 5) / 4.0;
      pluck(out, beat * beatFrames + half * beatFrames / 2, frequency, 0.6, 0.2, pan, 2 + index % 4);
    }
  }
  return out;
}

}  // namespace

int main(int argc, char *argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  for (int index = 0; index < fileCount; ++index) {
    const std::string path = std::string(argv[1]) + "/Loop" + std::to_string(index) + ".ogg";
    if (!OggTestFile::write(path, piece(index), 2, rate)) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
      return 1;
    }
  }
  return 0;
}
