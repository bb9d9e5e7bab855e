#pragma once

#include <boost/shared_ptr.hpp>
#include <string>

class FilePath;

// Decodes one sound file on demand, chunk by chunk, from any frame position,
// always into interleaved stereo float frames (left, right; nominal range
// -1 .. 1). A one-channel file delivers its signal in both floats of a frame;
// files of more channels are folded down to two.
// A loader is used by one thread at a time: the main thread while a sounder
// prepares it, afterwards only the sounder's streaming thread.
class SoundFileLoader {
 public:
  explicit SoundFileLoader(const FilePath &path);
  virtual ~SoundFileLoader() = default;

  SoundFileLoader(const SoundFileLoader &) = delete;
  SoundFileLoader &operator=(const SoundFileLoader &) = delete;

  // Decodes frames from file frame `position` into buffer, starting at frame
  // `offset` of the buffer, until the buffer holds numSamples / 2 frames
  // (numSamples counts floats; nothing is written past them). Returns the
  // buffer frame reached. A result below numSamples / 2 means the file ended
  // inside the chunk (or could not be read on), and `position` is then back
  // at 0; otherwise `position` is the file frame after the last one written:
  // advanced by the frames written, and by any damaged stretch skipped.
  virtual int loadChunk(float *buffer, long long &position, int numSamples, int offset) = 0;
  // In frames.
  virtual long long getFileLength() const = 0;
  virtual float getSamplerate() const = 0;
  virtual int getNumChannels() const = 0;
  // The file name without folder and extension: the sound's name.
  virtual std::wstring getName() const = 0;

  // Makes loaders of one file format.
  class Creator {
   public:
    virtual ~Creator() = default;
    virtual boost::shared_ptr<SoundFileLoader> createLoader(const FilePath &path) const = 0;
  };
};
