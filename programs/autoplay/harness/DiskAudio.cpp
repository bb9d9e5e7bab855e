#include "harness/DiskAudio.h"

#include <sys/stat.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

const int bytesPerSample = 2;

void putLittleEndian(std::string &out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

}  // namespace

std::string DiskAudio::capturePath() {
  const char *driver = std::getenv("SDL_AUDIODRIVER");
  if (!driver || std::strcmp(driver, "disk") != 0) return std::string();
  const char *file = std::getenv("SDL_DISKAUDIOFILE");
  // SDL's own default name.
  return file && *file ? file : "sdlaudio.raw";
}

long DiskAudio::framesRecorded(const std::string &rawPath, int channels) {
  struct stat info;
  if (channels < 1 || stat(rawPath.c_str(), &info) != 0) return -1;
  return static_cast<long>(info.st_size / (channels * bytesPerSample));
}

bool DiskAudio::writeWav(const std::string &rawPath, const std::string &wavPath, int sampleRate, int channels) {
  std::ifstream raw(rawPath, std::ios::binary);
  if (!raw) {
    std::fprintf(stderr, "murmel-worlds-autoplay: no sound recording at %s\n", rawPath.c_str());
    return false;
  }
  std::vector<char> samples((std::istreambuf_iterator<char>(raw)), std::istreambuf_iterator<char>());
  // Whole frames only; a RIFF chunk holds at most 4 GiB.
  const size_t frameBytes = static_cast<size_t>(channels) * bytesPerSample;
  size_t dataBytes = samples.size() - samples.size() % frameBytes;
  const size_t limit = (0xffffffffu - 36u) / frameBytes * frameBytes;
  if (dataBytes > limit) dataBytes = limit;

  std::string header("RIFF");
  putLittleEndian(header, static_cast<uint32_t>(36 + dataBytes), 4);
  header += "WAVEfmt ";
  putLittleEndian(header, 16, 4);
  putLittleEndian(header, 1, 2);  // integer PCM
  putLittleEndian(header, static_cast<uint32_t>(channels), 2);
  putLittleEndian(header, static_cast<uint32_t>(sampleRate), 4);
  putLittleEndian(header, static_cast<uint32_t>(sampleRate * frameBytes), 4);
  putLittleEndian(header, static_cast<uint32_t>(frameBytes), 2);
  putLittleEndian(header, bytesPerSample * 8, 2);
  header += "data";
  putLittleEndian(header, static_cast<uint32_t>(dataBytes), 4);

  std::ofstream wav(wavPath, std::ios::binary);
  wav.write(header.data(), static_cast<std::streamsize>(header.size()));
  wav.write(samples.data(), static_cast<std::streamsize>(dataBytes));
  wav.close();
  if (!wav) {
    std::fprintf(stderr, "murmel-worlds-autoplay: cannot write %s\n", wavPath.c_str());
    return false;
  }
  return true;
}
