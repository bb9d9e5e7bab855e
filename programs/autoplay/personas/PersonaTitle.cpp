#include "personas/PersonaTitle.h"

#include "personas/MotorModel.h"
#include "personas/Sight.h"

namespace {

// The prompt fading in catches the eye once this opaque.
const float promptNoticed = 0.2f;
// After a click, this long beyond the reaction before trying again.
const double clickPatience = 0.5;

}  // namespace

std::string PersonaTitle::activity() const {
  if (!promptSeen) return "listening to the introduction";
  return clickedAt >= 0.0 ? "clicked the prompt" : "reaching for the prompt";
}

void PersonaTitle::act(const Sight &sight, MotorModel &hand) {
  const SceneView &seen = sight.view();
  promptSeen = seen.prompt >= promptNoticed;
  if (!promptSeen) return;
  if (clickedAt >= 0.0) {
    if (sight.now() - clickedAt < sight.reactionSeconds() + clickPatience) return;
    clickedAt = -1.0;
  }
  hand.reachTo(seen.promptCentre, seen.promptSize.y);
  if (!hand.resting()) return;
  hand.click();
  clickedAt = sight.now();
}
