#include "PeakLimiter.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

#include "Take.h"

namespace {

// Index into a take's frames, wrapped for loops and clamped for one-shots.
size_t at(long index, long frames, bool looping) {
  if (looping) return static_cast<size_t>(((index % frames) + frames) % frames);
  return static_cast<size_t>(std::min(std::max(index, 0L), frames - 1));
}

// The smallest value within `radius` of each index (ascending-minimum deque).
std::vector<float> windowMinimum(const std::vector<float> &in, long radius, bool looping) {
  const long frames = static_cast<long>(in.size());
  std::vector<float> out(in.size());
  std::deque<long> candidates;
  for (long i = -radius; i < frames + radius; ++i) {
    const float value = in[at(i, frames, looping)];
    while (!candidates.empty() && in[at(candidates.back(), frames, looping)] >= value) candidates.pop_back();
    candidates.push_back(i);
    const long centre = i - radius;
    if (centre < 0) continue;
    while (candidates.front() < centre - radius) candidates.pop_front();
    out[static_cast<size_t>(centre)] = in[at(candidates.front(), frames, looping)];
  }
  return out;
}

std::vector<float> windowMean(const std::vector<float> &in, long radius, bool looping) {
  const long frames = static_cast<long>(in.size());
  std::vector<float> out(in.size());
  double sum = 0.0;
  for (long i = -radius; i <= radius; ++i) sum += in[at(i, frames, looping)];
  for (long i = 0; i < frames; ++i) {
    out[static_cast<size_t>(i)] = static_cast<float>(sum / static_cast<double>(2 * radius + 1));
    sum += in[at(i + radius + 1, frames, looping)] - in[at(i - radius, frames, looping)];
  }
  return out;
}

}  // namespace

void PeakLimiter::apply(Take &take, float reductionDb, float windowSeconds) {
  const float ceiling = take.peak() * std::pow(10.0f, -reductionDb / 20.0f);
  if (ceiling <= 0.0f) return;
  const long frames = take.getFrames();
  std::vector<float> gain(static_cast<size_t>(frames));
  for (size_t i = 0; i < gain.size(); ++i) {
    const float level = std::max(std::fabs(take.channel(0)[i]), std::fabs(take.channel(1)[i]));
    gain[i] = level > ceiling ? ceiling / level : 1.0f;
  }
  // Every frame within the window of a peak takes the peak's gain; the mean
  // over the same window then stays at or below what each peak needs.
  const long radius = std::max(1L, Take::framesOf(windowSeconds));
  gain = windowMean(windowMinimum(gain, radius, take.isLooping()), radius, take.isLooping());
  for (size_t i = 0; i < gain.size(); ++i) {
    take.channel(0)[i] *= gain[i];
    take.channel(1)[i] *= gain[i];
  }
}
