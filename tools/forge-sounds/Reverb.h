#pragma once

#include <cstddef>
#include <vector>

class Take;

// A small stereo room: parallel damped combs into series all-passes per side,
// the right side's delays a little longer than the left's so the two differ.
class Reverb {
 public:
  // size scales the delays (1 is a mid-sized room); decay is the combs'
  // feedback (0.7 short, 0.9 long); damping darkens the tail (0 … 1).
  Reverb(float size, float decay, float damping);

  // Adds the room to the take at `wet`; a looping take's tail wraps round
  // its seam as it would when the loop plays again.
  void applyTo(Take &take, float wet, float preDelaySeconds);

 private:
  struct Line {
    std::vector<float> buffer;
    std::size_t position = 0;
    float memory = 0.0f;
  };

  void reset();
  float processSide(int side, float in);

  float decay;
  float damping;
  std::vector<Line> combs[2];
  std::vector<Line> allPasses[2];
};
