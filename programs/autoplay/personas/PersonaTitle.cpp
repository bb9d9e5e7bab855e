#include "personas/PersonaTitle.h"

#include "personas/MotorModel.h"
#include "personas/Sight.h"

#include <algorithm>

namespace {

// A line of text that was not there this long ago is new.
const double newSince = 1.0;
// After a click, this long beyond the reaction before trying again.
const double clickPatience = 0.5;
// Nothing readable has shown in this long: the person tries a click anyway, and again now and then.
const double impatientAfter = 15.0;
// A line of text is at least this many times as wide as it is high.
const float lineShape = 3.0f;
// A new line of text has stayed this long: it is no flicker.
const double steady = 0.2;

// The box of a line of text overlaps the box from lo to hi.
bool overlaps(const Glance::Mark &mark, const TwoFloats &lo, const TwoFloats &hi) {
  const TwoFloats half = mark.size * 0.5f;
  return mark.centre.x + half.x >= lo.x && mark.centre.x - half.x <= hi.x && mark.centre.y + half.y >= lo.y &&
         mark.centre.y - half.y <= hi.y;
}

// A line of text both in `now` and `before` (it has stayed) and outside the box; null when none.
const Glance::Mark *newMark(const Glance &now, const Glance &before, const TwoFloats &lo, const TwoFloats &hi) {
  for (int i = 0; i < now.markCount; ++i) {
    const Glance::Mark &mark = now.marks[static_cast<size_t>(i)];
    // A line of writing is long and low; the pieces of a shaded disc's rim are not.
    if (overlaps(mark, lo, hi) || mark.size.x < lineShape * mark.size.y) continue;
    for (int j = 0; j < before.markCount; ++j) {
      if (overlaps(before.marks[static_cast<size_t>(j)], mark.centre - mark.size * 0.5f,
                   mark.centre + mark.size * 0.5f))
        return &mark;
    }
  }
  return nullptr;
}

}  // namespace

std::string PersonaTitle::activity() const {
  if (!promptSeen) return "listening to the introduction";
  return clickedAt >= 0.0 ? "clicked the prompt" : "reaching for the prompt";
}

void PersonaTitle::act(const Sight &sight, MotorModel &hand) {
  if (!promptSeen) {
    // Text that has been there a while is the title's own.
    const Glance &old = sight.view(newSince);
    for (int i = 0; i < old.markCount; ++i) {
      const Glance::Mark &mark = old.marks[static_cast<size_t>(i)];
      const TwoFloats lo = mark.centre - mark.size * 0.5f, hi = mark.centre + mark.size * 0.5f;
      knownMin = anyKnown ? TwoFloats(std::min(knownMin.x, lo.x), std::min(knownMin.y, lo.y)) : lo;
      knownMax = anyKnown ? TwoFloats(std::max(knownMax.x, hi.x), std::max(knownMax.y, hi.y)) : hi;
      anyKnown = true;
    }
    const Glance::Mark *mark = anyKnown ? newMark(sight.view(), sight.view(steady), knownMin, knownMax) : nullptr;
    if (mark) {
      promptSeen = true;
      prompt = mark->centre;
      promptHeight = mark->size.y;
    } else if (sight.now() >= impatientAfter) {
      // Writing too small to make out: a click on the middle may start the game all the same.
      promptSeen = true;
      prompt = sight.view().area * 0.5f;
      promptHeight = sight.view().area.y * 0.25f;
    } else {
      return;
    }
  }
  if (clickedAt >= 0.0) {
    if (sight.now() - clickedAt < sight.reactionSeconds() + clickPatience) return;
    clickedAt = -1.0;
  }
  hand.reachTo(prompt, promptHeight);
  if (!hand.resting()) return;
  hand.click();
  clickedAt = sight.now();
  ++clicks;
}
