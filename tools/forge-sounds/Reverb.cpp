#include "Reverb.h"

#include <algorithm>
#include <cmath>

#include "Take.h"

namespace {

const int combLengths[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
const int allPassLengths[] = {556, 441, 341, 225};
const int stereoSpread = 23;

}  // namespace

Reverb::Reverb(float size, float decay, float damping) : decay(decay), damping(damping) {
  for (int side = 0; side < 2; ++side) {
    for (int length : combLengths) {
      Line line;
      line.buffer.resize(static_cast<size_t>(std::max(8.0f, (length + side * stereoSpread) * size)));
      combs[side].push_back(line);
    }
    for (int length : allPassLengths) {
      Line line;
      line.buffer.resize(static_cast<size_t>(std::max(8.0f, (length + side * stereoSpread) * size)));
      allPasses[side].push_back(line);
    }
  }
}

void Reverb::reset() {
  for (int side = 0; side < 2; ++side) {
    for (Line &line : combs[side]) std::fill(line.buffer.begin(), line.buffer.end(), 0.0f), line.memory = 0.0f;
    for (Line &line : allPasses[side]) std::fill(line.buffer.begin(), line.buffer.end(), 0.0f);
  }
}

float Reverb::processSide(int side, float in) {
  float out = 0.0f;
  for (Line &comb : combs[side]) {
    float &slot = comb.buffer[comb.position];
    const float delayed = slot;
    comb.memory = delayed * (1.0f - damping) + comb.memory * damping;
    slot = in + comb.memory * decay;
    comb.position = (comb.position + 1) % comb.buffer.size();
    out += delayed;
  }
  for (Line &allPass : allPasses[side]) {
    float &slot = allPass.buffer[allPass.position];
    const float delayed = slot;
    slot = out + delayed * 0.5f;
    out = delayed - out;
    allPass.position = (allPass.position + 1) % allPass.buffer.size();
  }
  return out;
}

void Reverb::applyTo(Take &take, float wet, float preDelaySeconds) {
  reset();
  const long frames = take.getFrames();
  const long preDelay = Take::framesOf(preDelaySeconds);
  // The combs sum eight lines; this keeps the wet level near the dry one.
  const float gain = wet * 0.05f;
  std::vector<float> outputs[2] = {std::vector<float>(static_cast<size_t>(frames)),
                                   std::vector<float>(static_cast<size_t>(frames))};
  const int passes = take.isLooping() ? 2 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    for (long i = 0; i < frames; ++i) {
      const float in = 0.5f * (take.channel(0)[static_cast<size_t>(i)] + take.channel(1)[static_cast<size_t>(i)]);
      for (int side = 0; side < 2; ++side) {
        const float out = processSide(side, in) * gain;
        if (pass == passes - 1) outputs[side][static_cast<size_t>(i)] = out;
      }
    }
  }
  for (long i = 0; i < frames; ++i)
    take.add(i + preDelay, outputs[0][static_cast<size_t>(i)], outputs[1][static_cast<size_t>(i)]);
}
