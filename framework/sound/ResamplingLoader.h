#pragma once

#include "framework/sound/SoundFileLoader.h"

#include <memory>
#include <vector>

// Plays a loader recorded at another rate at the device's: its frames go
// through libsoxr, and length, rate and positions are those of the output.
// Reading on in sequence costs one pass of the resampler; a chunk at any
// other position (a loop back to the start, a second slot sharing the sound)
// restarts the resampler there. Such a seek lands on the same output frame
// as reading through from the start would, give or take the resampler's
// rounding: it restarts at a frame where the two rates' grids meet, early
// enough to let the filter settle, and throws the extra output away. The
// output is exactly getFileLength() frames long, silence making up whatever
// the resampler delivers short, so a looping sound stays in step with the
// device's frame count loop after loop.
// Like every loader, used by one thread at a time, never the audio thread.
class ResamplingLoader final : public SoundFileLoader {
 public:
  // The loader itself when it already runs at outputRate (or has nothing to
  // play), otherwise a ResamplingLoader around it. The browser build has no
  // resampler: there, a loader at another rate gives null, after a line on
  // standard error that names the sound and both rates.
  static boost::shared_ptr<SoundFileLoader> toRate(const boost::shared_ptr<SoundFileLoader> &loader, double outputRate);

  ~ResamplingLoader() override;

  int loadChunk(float *buffer, long long &position, int numSamples, int offset) override;
  long long getFileLength() const override { return fileLength; }
  float getSamplerate() const override { return static_cast<float>(outputRate); }
  int getNumChannels() const override { return inner->getNumChannels(); }
  std::wstring getName() const override { return inner->getName(); }

 private:
  struct Resampler;

  ResamplingLoader(const boost::shared_ptr<SoundFileLoader> &inner, long inputRate, long outputRate);

  // Restarts the resampler so that the next frame it delivers is `frame`.
  void seek(long long frame);
  // Delivers up to `frames` output frames into out; fewer only at the end.
  long produce(float *out, long frames);
  // Refills the input buffer from the inner loader; false at its end.
  bool readInput();

  boost::shared_ptr<SoundFileLoader> inner;
  long outputRate;
  // Frames of each rate from one point where both rates' grids meet to the next.
  long long gridInput, gridOutput;
  long long fileLength;
  std::unique_ptr<Resampler> resampler;
  // Stereo frames read from the inner loader and not yet resampled.
  std::vector<float> input;
  long inputStart = 0, inputFrames = 0;
  // Output frames thrown away while a seek settles.
  std::vector<float> scratch;
  long long innerPosition = 0;
  // The output frame the resampler delivers next.
  long long outputPosition = 0;
  bool innerEnded = false;
};
