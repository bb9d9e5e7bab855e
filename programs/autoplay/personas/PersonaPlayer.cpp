#include "personas/PersonaPlayer.h"

#include "personas/SceneWatcher.h"

#include "harness/EventPusher.h"
#include "personas/Persona.h"
#include "personas/PersonaTitle.h"
#include "personas/PersonaWorld0.h"
#include "personas/PersonaWorld1.h"
#include "personas/PersonaWorld2.h"
#include "personas/PersonaWorld3.h"
#include "personas/PersonaWorld4.h"
#include "personas/PersonaWorld5.h"
#include "personas/PersonaWorld6.h"
#include "personas/PersonaWorld7.h"
#include "personas/SceneView.h"

#include <cstdint>

namespace {

// Enough to judge growth and change: a few seconds.
const double memorySeconds = 3.0;
// A flash this bright has caught the eye: the world is done.
const float flashSeen = 0.1f;

// Each persona moves the same way from run to run, and differently from the others.
uint32_t seedOf(const char *name) {
  uint32_t hash = 2166136261u;
  for (const char *c = name; *c; ++c) hash = (hash ^ static_cast<unsigned char>(*c)) * 16777619u;
  return hash;
}

}  // namespace

PersonaPlayer::PersonaPlayer(const Persona &persona, EventPusher &events, const TwoFloats &area)
    : persona(persona),
      events(events),
      sight(persona.reactionSeconds, memorySeconds),
      hand(persona, area, area * 0.5f, seedOf(persona.name)),
      title(new PersonaTitle()),
      worlds{
          std::unique_ptr<PersonaStrategy>(new PersonaWorld0()), std::unique_ptr<PersonaStrategy>(new PersonaWorld1()),
          std::unique_ptr<PersonaStrategy>(new PersonaWorld2()), std::unique_ptr<PersonaStrategy>(new PersonaWorld3()),
          std::unique_ptr<PersonaStrategy>(new PersonaWorld4()), std::unique_ptr<PersonaStrategy>(new PersonaWorld5()),
          std::unique_ptr<PersonaStrategy>(new PersonaWorld6()), std::unique_ptr<PersonaStrategy>(new PersonaWorld7())},
      pointer(area * 0.5f),
      area(area) {}

PersonaPlayer::~PersonaPlayer() = default;

void PersonaPlayer::beforeFrame(const SceneView &now, bool mayClick) {
  sight.record(now, hand.position());
  decide();
  moveMouse(sight.now() + Sight::frameSeconds);
  clicked = mayClick && hand.takeClick();
  if (clicked) events.click(pointer);
}

void PersonaPlayer::decide() {
  const SceneView &seen = sight.view();
  PersonaStrategy *strategy = nullptr;
  if (seen.screen == SceneView::Screen::title) {
    strategy = title.get();
  } else if (seen.screen == SceneView::Screen::loading) {
    doing = "waiting for the game to load";
  } else if (seen.closing) {
    doing = "watching the worlds gather";
  } else if (seen.travelling) {
    doing = "watching the camera travel on";
  } else if (seen.flash >= flashSeen) {
    doing = "watching the white flash";
  } else {
    strategy = worlds[static_cast<size_t>(seen.world)].get();
  }
  if (!strategy) {
    hand.hold();
    return;
  }
  strategy->act(sight, hand);
  doing = strategy->activity();
}

void PersonaPlayer::moveMouse(double until) {
  // A mouse reports only when it has moved, and only whole pixels reach the game.
  for (; nextReport <= until + 1e-9; nextReport += 1.0 / persona.mouseRateHz) {
    TwoFloats at;
    if (!hand.pointerAt(nextReport, at) || events.onLastPixel(at)) continue;
    pointer = at;
    events.moveMouse(at);
  }
}

std::string PersonaPlayer::onTitle(const TitleScreen &screen, long, bool mayClick, bool &clicked) {
  beforeFrame(SceneWatcher::title(screen, area), mayClick);
  clicked = clickedThisFrame();
  return activity();
}

void PersonaPlayer::onLoading() { beforeFrame(SceneWatcher::loading(area), false); }

std::string PersonaPlayer::inGame(GamePlayState &game, bool) {
  beforeFrame(SceneWatcher::game(game, area), true);
  return activity();
}
