#pragma once

#include <boost/shared_ptr.hpp>
#include <vector>

class FilePath;
class VorbisfileLoader;

// A sound file opened with the game's own Ogg Vorbis loader and decoded whole,
// ring buffer by ring buffer as a sounder reads it, into interleaved stereo
// floats. The sound-file tests open files only through this class.
class DecodedOgg {
 public:
  // The loader the game makes for the file; what a sounder is given.
  static boost::shared_ptr<VorbisfileLoader> open(const FilePath &path);

  explicit DecodedOgg(const FilePath &path);

  bool isOpen() const { return opened; }
  int getNumChannels() const { return channels; }
  float getSampleRate() const { return rate; }
  // The length the file reports, in frames.
  long long getFileLength() const { return fileLength; }
  // Frames actually decoded.
  long long getFrames() const { return static_cast<long long>(samples.size() / 2); }
  float at(long long frame, int channel) const { return samples[static_cast<size_t>(frame * 2 + channel)]; }
  // Largest magnitude over both channels.
  float peak() const;

 private:
  bool opened = false;
  int channels = 0;
  float rate = 0.0f;
  long long fileLength = 0;
  std::vector<float> samples;
};
