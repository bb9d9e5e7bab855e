#pragma once

#include "base/FilePath.h"
#include "framework/sound/SoundFileLoader.h"

#include <memory>

// Ogg Vorbis files through libvorbisfile. A file that is missing or cannot be
// decoded gives a closed loader: length 0, rate 44100, two channels, and
// loadChunk writes nothing. Such a file, or one that fails to decode later on,
// is named with the reason in one line on standard error, once per loader.
// A damaged page is skipped and the file read on. Files of more than two
// channels are folded down to stereo. Only the first logical stream of a
// chained file is played. The file's own rate is reported, not changed:
// the sounders resample (ResamplingLoader).
class VorbisfileLoader final : public SoundFileLoader {
 public:
  explicit VorbisfileLoader(const FilePath &path);
  ~VorbisfileLoader() override;

  int loadChunk(float *buffer, long long &position, int numSamples, int offset) override;
  long long getFileLength() const override { return fileLength; }
  float getSamplerate() const override { return samplerate; }
  int getNumChannels() const override { return fileNumChannels; }
  std::wstring getName() const override { return path.getName(); }

  bool isOpen() const { return open; }

  class Creator final : public SoundFileLoader::Creator {
   public:
    boost::shared_ptr<SoundFileLoader> createLoader(const FilePath &path) const override;
  };
  // Registered for "ogg" by the resource manager.
  static Creator creator;

 private:
  // libvorbisfile's state; present once the file was handed to the decoder.
  struct Decoder;

  // Prints why the file cannot be read, the first time only.
  void report(const char *reason);
  // Writes `frames` decoded frames as stereo frames to out.
  void writeStereo(float *const *pcm, long frames, float *out) const;

  FilePath path;
  std::unique_ptr<Decoder> decoder;
  long long fileLength = 0;
  float samplerate = 44100.0f;
  int fileNumChannels = 2;
  bool open = false;
  bool reported = false;
};
