#include "MixRunOptions.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

bool wholeNumber(const char *text, long long lowest, long long &value) {
  char *end = nullptr;
  errno = 0;
  value = std::strtoll(text, &end, 10);
  return errno == 0 && end != text && *end == '\0' && value >= lowest;
}

}  // namespace

bool MixRunOptions::parse(int argc, char *argv[]) {
  int i = 1;
  if (i + 1 < argc && std::string(argv[i]) == "--mode") {
    mode = argv[i + 1];
    i += 2;
  }
  long long channelValue = 0;
  if (argc - i < 3 || !wholeNumber(argv[i], 0, channelValue) || channelValue > 128 ||
      !wholeNumber(argv[i + 1], 1, frames)) {
    std::fprintf(stderr, "usage: %s [--mode MODE] CHANNELS(0-128) FRAMES FILE...\n", argv[0]);
    return false;
  }
  channels = static_cast<int>(channelValue);
  files.assign(argv + i + 2, argv + argc);
  return true;
}

long long MixRunOptions::staggeredStart(int channel, int channels, long long fileFrames) {
  return channels > 0 ? fileFrames * channel / channels : 0;
}
