#pragma once

#include <chrono>
#include <string>
#include <vector>

// The milestones of a playthrough, each printed on standard output as it
// happens, for example
//   autoplay: world 3 at frame 2345, 24.50 s, audio frame 1080000
// (the audio frame only while SDL's disk audio driver records the sound).
class Timeline {
 public:
  struct Mark {
    std::string what;
    long frame;
    double seconds;
  };

  Timeline();

  // From now on each mark also names how much sound has been recorded.
  void recordAudioFrom(const std::string &rawPath, int channels);
  void mark(const std::string &what, long frame);
  // The first mark of that name; null when it has not happened.
  const Mark *find(const std::string &what) const;
  // Since the timeline began.
  double secondsNow() const;

 private:
  std::chrono::steady_clock::time_point start;
  std::vector<Mark> marks;
  std::string audioPath;
  int audioChannels = 0;
};
