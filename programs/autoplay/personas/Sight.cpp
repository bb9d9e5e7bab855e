#include "personas/Sight.h"

#include "base/Assertion.h"

#include <algorithm>
#include <cmath>

namespace {

// A reaction time holds for a spell of this many frames before the next is drawn.
const long spellFrames = 30;
// The longest reaction kept: the tail of the spread stops here.
const double longestReaction = 1.5;

}  // namespace

Sight::Sight(double reactionSeconds, double memorySeconds, uint32_t seed)
    : reaction(reactionSeconds, seed),
      meanReaction(reactionSeconds),
      memory(memorySeconds),
      moments(static_cast<size_t>(std::lround((longestReaction + memorySeconds) / frameSeconds) + 2)) {}

void Sight::record(const Glance &glance, const TwoFloats &hand) {
  moments[static_cast<size_t>(recorded % static_cast<long>(moments.size()))] = Moment{glance, hand};
  if (recorded >= nextDraw) {
    delayFrames = std::lround(std::min(reaction.next(), longestReaction) / frameSeconds);
    nextDraw = recorded + spellFrames;
  }
  // A longer reaction than the last holds the picture still rather than
  // running it back; a shorter one catches up at twice the pace, missing nothing.
  seen = std::min(seen + 2, std::max(seen, recorded - delayFrames));
  ++recorded;
}

const Sight::Moment &Sight::at(long frame) const {
  MW_ASSERT(recorded > 0);
  const long size = static_cast<long>(moments.size());
  // Before anything older was seen, the oldest moment stands in (the screen before the first frame).
  frame = std::clamp(frame, std::max(0L, recorded - size), recorded - 1);
  return moments[static_cast<size_t>(frame % size)];
}

const Glance &Sight::view(double earlier) const { return at(seen - std::lround(earlier / frameSeconds)).glance; }

const TwoFloats &Sight::handAbout(double ago) const { return at(recorded - 1 - std::lround(ago / frameSeconds)).hand; }
