#include "Take.h"

#include <cmath>
#include <numeric>

#include "base/Assertion.h"

Take::Take(long frames, bool looping)
    : frames(frames), looping(looping), left(static_cast<size_t>(frames)), right(static_cast<size_t>(frames)) {
  MW_ASSERT(frames > 0);
}

long Take::wrap(long frame) const {
  if (!looping) return frame;
  frame %= frames;
  return frame < 0 ? frame + frames : frame;
}

void Take::add(long frame, float l, float r) {
  frame = wrap(frame);
  if (frame < 0 || frame >= frames) return;
  left[static_cast<size_t>(frame)] += l;
  right[static_cast<size_t>(frame)] += r;
}

void Take::addPanned(long frame, float value, float pan) {
  const float angle = pan * 1.5707964f;
  add(frame, value * std::cos(angle), value * std::sin(angle));
}

void Take::mix(const Take &other, float gain) {
  MW_ASSERT(other.frames == frames);
  for (size_t i = 0; i < left.size(); ++i) {
    left[i] += other.left[i] * gain;
    right[i] += other.right[i] * gain;
  }
}

void Take::scale(float gain) {
  for (float &s : left) s *= gain;
  for (float &s : right) s *= gain;
}

float Take::peak() const {
  float result = 0.0f;
  for (float s : left) result = std::max(result, std::fabs(s));
  for (float s : right) result = std::max(result, std::fabs(s));
  return result;
}

void Take::removeOffset() {
  for (std::vector<float> *samples : {&left, &right}) {
    const double mean = std::accumulate(samples->begin(), samples->end(), 0.0) / static_cast<double>(frames);
    for (float &s : *samples) s -= static_cast<float>(mean);
  }
}

void Take::normalise(float target) {
  const float current = peak();
  if (current > 0.0f) scale(target / current);
}

long Take::framesOf(double seconds) { return std::lround(seconds * rate); }
