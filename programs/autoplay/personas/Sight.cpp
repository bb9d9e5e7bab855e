#include "personas/Sight.h"

#include "base/Assertion.h"

#include <algorithm>
#include <cmath>

Sight::Sight(double reactionSeconds, double memorySeconds)
    : reaction(reactionSeconds),
      memory(memorySeconds),
      reactionFrames(static_cast<int>(std::lround(reactionSeconds / frameSeconds))),
      moments(static_cast<size_t>(reactionFrames + std::lround(memorySeconds / frameSeconds) + 1)) {}

void Sight::record(const SceneView &view, const TwoFloats &hand) {
  moments[static_cast<size_t>(recorded % static_cast<long>(moments.size()))] = Moment{view, hand};
  ++recorded;
}

const Sight::Moment &Sight::moment(double earlier) const {
  MW_ASSERT(recorded > 0);
  const long size = static_cast<long>(moments.size());
  long ago = reactionFrames + std::lround(earlier / frameSeconds);
  // Before anything older was seen, the oldest moment stands in (the screen before the first frame).
  ago = std::clamp(ago, 0L, std::min(size, recorded) - 1);
  return moments[static_cast<size_t>((recorded - 1 - ago) % size)];
}

const SceneView &Sight::view(double earlier) const { return moment(earlier).view; }

const TwoFloats &Sight::handThen(double earlier) const { return moment(earlier).hand; }
