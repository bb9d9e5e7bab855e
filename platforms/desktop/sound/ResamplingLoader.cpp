#include "framework/sound/ResamplingLoader.h"

#include "framework/app/AppSettings.h"
#include "base/FilePath.h"
#include "base/UTF8File.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace {

// Stereo frames read from the inner loader at a time, and thrown away at a
// time while a seek settles.
constexpr long chunkFrames = 4096;
// Input frames run through the filter before the frame a seek asks for, so
// that it has settled by then.
constexpr long long settleFrames = 1024;

}  // namespace

struct ResamplingLoader::Resampler {
  soxr_t soxr = nullptr;
  ~Resampler() {
    if (soxr) soxr_delete(soxr);
  }
};

boost::shared_ptr<SoundFileLoader> ResamplingLoader::toRate(const boost::shared_ptr<SoundFileLoader> &loader,
                                                            double outputRate) {
  const long in = std::lround(loader->getSamplerate());
  const long out = std::lround(outputRate);
  if (in == out || in <= 0 || out <= 0 || loader->getFileLength() <= 0) return loader;
  boost::shared_ptr<ResamplingLoader> resampling(new ResamplingLoader(loader, in, out));
  if (resampling->resampler->soxr) return resampling;
  // Out of pitch beats silent.
  return loader;
}

ResamplingLoader::ResamplingLoader(const boost::shared_ptr<SoundFileLoader> &inner, long inputRate, long outputRate)
    : SoundFileLoader(FilePath()),
      inner(inner),
      outputRate(outputRate),
      gridInput(inputRate / std::gcd(inputRate, outputRate)),
      gridOutput(outputRate / std::gcd(inputRate, outputRate)),
      fileLength(std::llround(static_cast<double>(inner->getFileLength()) * outputRate / inputRate)),
      resampler(new Resampler()),
      input(2 * chunkFrames),
      scratch(2 * chunkFrames) {
  soxr_error_t error = nullptr;
  resampler->soxr = soxr_create(inputRate, outputRate, 2, &error, nullptr, nullptr, nullptr);
  if (error) {
    resampler->soxr = nullptr;
    std::string name, sound;
    UTF8File::wstringToChar(AppSettings::applicationName, name);
    UTF8File::wstringToChar(inner->getName(), sound);
    std::fprintf(stderr, "%s: cannot resample sound \"%s\" from %ld Hz: %s\n", name.c_str(), sound.c_str(), inputRate,
                 error);
  }
}

ResamplingLoader::~ResamplingLoader() = default;

int ResamplingLoader::loadChunk(float *buffer, long long &position, int numSamples, int offset) {
  const int target = numSamples / 2;
  if (offset >= target) return offset;
  if (position < 0 || position >= fileLength) {
    position = 0;
    return offset;
  }
  if (position != outputPosition) seek(position);
  const long wanted = static_cast<long>(std::min<long long>(target - offset, fileLength - outputPosition));
  float *out = buffer + 2 * static_cast<long>(offset);
  const long made = produce(out, wanted);
  // Whatever the resampler delivers short of the length is silence.
  std::fill(out + 2 * made, out + 2 * wanted, 0.0f);
  outputPosition += wanted;
  const int filled = offset + static_cast<int>(wanted);
  position = filled < target ? 0 : outputPosition;
  return filled;
}

void ResamplingLoader::seek(long long frame) {
  soxr_clear(resampler->soxr);
  const long long settleGrids = (settleFrames + gridInput - 1) / gridInput;
  const long long grid = std::max(0LL, frame / gridOutput - settleGrids);
  innerPosition = grid * gridInput;
  outputPosition = grid * gridOutput;
  inputStart = inputFrames = 0;
  innerEnded = false;
  while (outputPosition < frame) {
    const long frames = static_cast<long>(std::min<long long>(chunkFrames, frame - outputPosition));
    const long made = produce(scratch.data(), frames);
    outputPosition += frames;
    // Past the resampler's end the rest is silence, wherever it starts.
    if (made < frames) outputPosition = frame;
  }
}

long ResamplingLoader::produce(float *out, long frames) {
  long done = 0;
  while (done < frames) {
    if (inputFrames == 0 && !innerEnded) readInput();
    // No input left: soxr is told the signal ended and gives out its tail.
    const float *in = inputFrames > 0 ? input.data() + 2 * inputStart : nullptr;
    size_t used = 0, made = 0;
    if (soxr_process(resampler->soxr, in, static_cast<size_t>(inputFrames), &used, out + 2 * done,
                     static_cast<size_t>(frames - done), &made))
      break;
    inputStart += static_cast<long>(used);
    inputFrames -= static_cast<long>(used);
    done += static_cast<long>(made);
    // Drained, or neither taking nor giving: nothing more will come.
    if (made == 0 && (!in || used == 0)) break;
  }
  return done;
}

bool ResamplingLoader::readInput() {
  long long position = innerPosition;
  const int reached = inner->loadChunk(input.data(), position, static_cast<int>(input.size()), 0);
  inputStart = 0;
  inputFrames = std::max(reached, 0);
  if (reached < chunkFrames) innerEnded = true;
  innerPosition = position;
  return inputFrames > 0;
}
