#include "harness/Timeline.h"

#include "harness/DiskAudio.h"

#include <cstdio>

Timeline::Timeline() : start(std::chrono::steady_clock::now()) {}

void Timeline::recordAudioFrom(const std::string &rawPath, int channels) {
  audioPath = rawPath;
  audioChannels = channels;
}

void Timeline::mark(const std::string &what, long frame) {
  const double seconds = secondsNow();
  marks.push_back(Mark{what, frame, seconds});
  const long audioFrame = audioPath.empty() ? -1 : DiskAudio::framesRecorded(audioPath, audioChannels);
  if (audioFrame >= 0)
    std::printf("autoplay: %s at frame %ld, %.2f s, audio frame %ld\n", what.c_str(), frame, seconds, audioFrame);
  else
    std::printf("autoplay: %s at frame %ld, %.2f s\n", what.c_str(), frame, seconds);
  std::fflush(stdout);
}

const Timeline::Mark *Timeline::find(const std::string &what) const {
  for (const Mark &m : marks) {
    if (m.what == what) return &m;
  }
  return nullptr;
}

double Timeline::secondsNow() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
