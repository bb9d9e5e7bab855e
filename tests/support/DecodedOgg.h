#pragma once

#include <string>
#include <vector>

// A sound file decoded whole into interleaved stereo floats. The sound-file
// tests open files only through this class.
class DecodedOgg {
 public:
  explicit DecodedOgg(const std::string &path);

  bool isOpen() const { return open; }
  int getNumChannels() const { return channels; }
  long getSampleRate() const { return rate; }
  // The length the file reports, in frames.
  long long getFileLength() const { return fileLength; }
  // Frames actually decoded.
  long long getFrames() const { return static_cast<long long>(samples.size() / 2); }
  float at(long long frame, int channel) const { return samples[static_cast<size_t>(frame * 2 + channel)]; }
  // Largest magnitude over both channels.
  float peak() const;

 private:
  bool open = false;
  int channels = 0;
  long rate = 0;
  long long fileLength = 0;
  std::vector<float> samples;
};
