#include "personas/PersonaPlayer.h"

#include "harness/EventPusher.h"
#include "personas/Persona.h"
#include "personas/PersonaWorld0.h"
#include "personas/PersonaWorld1.h"
#include "personas/PersonaWorld2.h"
#include "personas/PersonaWorld3.h"
#include "personas/PersonaWorld4.h"
#include "personas/PersonaWorld5.h"
#include "personas/PersonaWorld6.h"
#include "personas/PersonaWorld7.h"
#include "personas/ScreenChanges.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Enough to judge growth and change: a few seconds.
const double memorySeconds = 3.0;
const int worldCount = 8;
// Most of the screen black: the fade before the first world, or the loading screen.
const float coverSeen = 0.9f;

// Each persona moves the same way from run to run, and differently from the others.
uint32_t seedOf(const char *name, uint32_t seed) {
  uint32_t hash = 2166136261u ^ (seed * 2654435761u);
  for (const char *c = name; *c; ++c) hash = (hash ^ static_cast<unsigned char>(*c)) * 16777619u;
  return hash;
}

// How an informed player plays the world it has come to, counting from 0.
std::unique_ptr<PersonaStrategy> informed(int world) {
  switch (world) {
    case 0: return std::make_unique<PersonaWorld0>();
    case 1: return std::make_unique<PersonaWorld1>();
    case 2: return std::make_unique<PersonaWorld2>();
    case 3: return std::make_unique<PersonaWorld3>();
    case 4: return std::make_unique<PersonaWorld4>();
    case 5: return std::make_unique<PersonaWorld5>();
    case 6: return std::make_unique<PersonaWorld6>();
    default: return std::make_unique<PersonaWorld7>();
  }
}

}  // namespace

PersonaPlayer::PersonaPlayer(const Persona &persona, EventPusher &events, const TwoFloats &area, bool firstTime,
                             uint32_t seed)
    : persona(persona),
      events(events),
      sight(persona.reactionSeconds, memorySeconds, seedOf(persona.name, seed) ^ 0x5bd1e995u),
      hand(persona, area, area * 0.5f, seedOf(persona.name, seed)),
      firstTimer(firstTime ? new FirstTimePlayer() : nullptr),
      pointer(area * 0.5f),
      tracing(std::getenv("MURMEL_PERSONA_TRACE") != nullptr) {
  latest.area = area;
}

PersonaPlayer::~PersonaPlayer() = default;

void PersonaPlayer::see(const unsigned char *rgb, int width, int height, const TwoFloats &area) {
  eyes.look(rgb, width, height, true, area, latest);
}

void PersonaPlayer::beforeFrame(bool mayClick) {
  sight.record(latest, hand.position());
  decide();
  trace();
  moveMouse(sight.now() + Sight::frameSeconds);
  clicked = mayClick && hand.takeClick();
  if (clicked) events.click(pointer);
}

void PersonaPlayer::beginWorld() {
  stage = Stage::playing;
  if (firstTimer) {
    firstTimer->newWorld(sight);
    return;
  }
  world = informed(worldsDone);
}

void PersonaPlayer::decide() {
  const Glance &seen = sight.view();
  PersonaStrategy *strategy = nullptr;
  switch (stage) {
    case Stage::title:
      strategy = &title;
      // Once clicked, the screen going black, writing and all, is the game starting.
      if (title.clicked() && seen.blackShare >= coverSeen && seen.markCount == 0) stage = Stage::starting;
      break;
    case Stage::starting:
      doing = "waiting for the first world to show";
      if (seen.blackShare < coverSeen && ScreenChanges::settled(sight)) beginWorld();
      break;
    case Stage::playing:
      if (ScreenChanges::flashing(seen)) {
        ++worldsDone;
        stage = worldsDone >= worldCount ? Stage::closing : Stage::travelling;
        break;
      }
      strategy = firstTimer ? static_cast<PersonaStrategy *>(firstTimer.get()) : world.get();
      break;
    case Stage::travelling:
      doing = "watching the camera travel on";
      if (ScreenChanges::settled(sight)) beginWorld();
      break;
    case Stage::closing: doing = "watching the worlds gather"; break;
  }
  if (!strategy) {
    hand.hold();
    return;
  }
  strategy->act(sight, hand);
  doing = strategy->activity();
}

void PersonaPlayer::trace() {
  if (!tracing || doing == traced) return;
  traced = doing;
  std::fprintf(stderr, "persona at %.2f s: %s\n", sight.now(), doing.c_str());
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

bool PersonaPlayer::noticedAnswer() { return firstTimer && firstTimer->takeFirstAnswer(); }

bool PersonaPlayer::gaveUp() const { return firstTimer && stage == Stage::playing && firstTimer->gaveUp(sight); }

double PersonaPlayer::triedSeconds() const { return firstTimer ? firstTimer->secondsInWorld(sight) : 0.0; }

std::string PersonaPlayer::onTitle(const TitleScreen &, long, bool mayClick, bool &clickedNow) {
  beforeFrame(mayClick);
  clickedNow = clicked;
  return activity();
}

void PersonaPlayer::onLoading() { beforeFrame(false); }

std::string PersonaPlayer::inGame(GamePlayState &, bool) {
  beforeFrame(true);
  return activity();
}
