#pragma once

#include <string>
#include <vector>

// The command line both mixing programs share:
//   PROGRAM [--mode MODE] CHANNELS FRAMES FILE...
// CHANNELS 0 is the silent baseline: the files are loaded, nothing plays.
struct MixRunOptions {
  std::string mode;
  int channels = 0;
  long long frames = 0;
  std::vector<std::string> files;

  // False, with the reason on standard error, for a malformed command line.
  bool parse(int argc, char *argv[]);

  // Where channel `channel` of `channels` starts: spread evenly over one
  // pass of a file of `fileFrames`, so that the channels play from different
  // positions and, with eight files, different sounds.
  static long long staggeredStart(int channel, int channels, long long fileFrames);
};
