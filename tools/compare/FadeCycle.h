#pragma once

#include <string>
#include <vector>

class MurmelSounder;

// Keeps every one of `channels` instruments in a fade for as long as it runs.
// Each channel fades in for fadeFrames (the whole blocks within the
// instruments' 100000-frame fade), is then stopped and fades out, which from
// that level takes about the same time, and is started again at the first
// block boundary where a slot is free: in, out, in, out. The channels' first starts are spread evenly over
// one in-and-out cycle, so at any time about half of them are rising and half
// falling, each at its own level and file.
//
// Called from the device callback between two blocks, where no mix is in
// progress; the main thread leaves the sounder alone meanwhile, so the slots
// still see one thread starting and stopping them.
class FadeCycle {
 public:
  FadeCycle(MurmelSounder &sounder, const std::vector<std::wstring> &names, int channels, int blockFrames);

  // After each block; `frames` counts every frame mixed so far.
  void afterBlock(long long frames);

  long long cycleFrames() const { return 2 * fadeFrames; }
  // Starts that found no slot free and were tried again a block later.
  long long getRetries() const { return retries; }

 private:
  struct Channel {
    int handle = -1;
    bool rising = false;
    long long due = 0;
  };

  MurmelSounder &sounder;
  const std::vector<std::wstring> &names;
  const int blockFrames;
  const long long fadeFrames;
  std::vector<Channel> channels;
  long long retries = 0;
};
