#pragma once

#include <vector>

// A stereo sound being forged, 44100 frames per second. A looping take wraps
// everything written past its end round to its beginning, so a note that
// rings over the seam goes on at the start and the loop has no seam to hear.
class Take {
 public:
  static constexpr int rate = 44100;

  Take(long frames, bool looping);

  long getFrames() const { return frames; }
  bool isLooping() const { return looping; }
  float seconds() const { return static_cast<float>(frames) / rate; }

  // Writes outside a one-shot take are dropped; a looping take wraps them.
  void add(long frame, float left, float right);
  // Equal-power panning: 0 left, 0.5 centre (both sides at 1/sqrt 2), 1 right.
  void addPanned(long frame, float value, float pan);

  std::vector<float> &channel(int index) { return index == 0 ? left : right; }
  const std::vector<float> &channel(int index) const { return index == 0 ? left : right; }

  void mix(const Take &other, float gain);
  void scale(float gain);
  float peak() const;
  // Removes the mean of each channel (a looping take keeps no offset to wrap).
  void removeOffset();
  // Scales the take so that its larger channel peak becomes `target`.
  void normalise(float target);

  static long framesOf(double seconds);

 private:
  long wrap(long frame) const;

  long frames;
  bool looping;
  std::vector<float> left;
  std::vector<float> right;
};
