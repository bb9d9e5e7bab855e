#include "harness/Robot.h"

#include "harness/EventPusher.h"
#include "harness/FlashMeter.h"
#include "harness/GamePlayer.h"
#include "harness/Hand.h"
#include "personas/PersonaPlayer.h"
#include "harness/SceneWatcher.h"
#include "harness/FrameKeeper.h"
#include "harness/Timeline.h"

#include "framework/app/GameState.h"
#include "framework/drawing/Drawer.h"
#include "game/GamePlayState.h"
#include "game/World.h"
#include "game/TitleScreen.h"
#include "base/UTF8File.h"

#include <SDL/SDL.h>

namespace {

// The world whose flash follows the music's bars.
const int worldOfBars = 3;

// Frames after a click before the robot clicks again, should the first one
// not have started the game.
const long clickRetryFrames = 30;

}  // namespace

Robot::Robot(Timeline &timeline, FrameKeeper *screenshots, long maxFrames, const Persona *persona)
    : timeline(timeline), screenshots(screenshots), maxFrames(maxFrames), personaFigures(persona) {}

Robot::~Robot() = default;

void Robot::keepFrame(const std::string &name, const std::string &caption) {
  if (!screenshots) return;
  shotName = name;
  shotCaption = caption;
}

void Robot::beforeFrame(SDL1_2Application &app) {
  const long frame = app.getFrameCount();
  const TwoFloats area = app.getDrawer()->getDrawingAreaSize();
  inWorldOfBars = false;
  if (!events) {
    events.reset(new EventPusher(app));
    hand.reset(new Hand(*events, area * 0.5f));
    if (personaFigures) persona.reset(new PersonaPlayer(*personaFigures, *events, area));
  }
  hand->newFrame();
  if (gaveUp()) {
    // Escape was not taken (the loading screen ignores it).
    app.quit();
    return;
  }
  if (maxFrames > 0 && frame >= maxFrames) {
    giveUp(app);
    return;
  }

  const boost::shared_ptr<GameState> current = app.getCurrentState();
  GameState *state = current.get();
  const std::string stateName = state ? UTF8File::toUtf8(state->getName()) : std::string();
  if (const TitleScreen *title = dynamic_cast<const TitleScreen *>(state)) {
    if (lastStateName != stateName) timeline.mark("title screen", frame);
    if (persona)
      playTitleAsPersona(app, *title);
    else
      playTitle(app, *title);
  } else if (GamePlayState *game = dynamic_cast<GamePlayState *>(state)) {
    if (!player || playerState.lock() != current) {
      player.reset(new GamePlayer(*game, timeline, filler, persona.get(), flashesToWatch));
      playerState = current;
    }
    const GamePlayer::Look look = player->beforeFrame(*hand, frame);
    place = look.place;
    if (!look.keep.empty()) keepFrame(look.keep, look.caption);
    paceWorldOfBars(app, *game);
    // Until the world is done: its white flash at the end is no red one.
    inWorldOfBars = game->getCurrentWorld() == worldOfBars && game->getTravel() == 0.0f && !game->isClosing() &&
                    !game->getWorld(worldOfBars).worldDone();
    if (game->getCurrentWorld() == stallAudioWorld && !audioStalled) {
      // SDL stops calling back: the game hears nothing more from its device.
      SDL_PauseAudio(1);
      audioStalled = true;
      timeline.mark("audio stalled", frame);
    }
    if (persona) persona->beforeFrame(SceneWatcher::game(*game, area), true);
  } else {
    place = "on the loading screen";
    if (persona) persona->beforeFrame(SceneWatcher::loading(area), false);
  }
  lastStateName = stateName;
}

void Robot::playTitle(SDL1_2Application &app, const TitleScreen &title) {
  const long frame = app.getFrameCount();
  if (title.getPromptAlpha() <= 0.0f) {
    place = "on the title screen (listening to the introduction)";
    return;
  }
  notePrompt(title, frame);
  // Towards the prompt in the bottom right corner, as a person reaches for it.
  const TwoFloats area = app.getDrawer()->getDrawingAreaSize();
  hand->moveToward(TwoFloats(area.x - 180.0f, area.y - 40.0f));
  if (title.getPromptAlpha() < 1.0f) {
    place = "on the title screen (waiting for the prompt)";
    return;
  }
  if (screenshots && !titleKept) {
    titleKept = true;
    keepFrame("title", "title");
    return;
  }
  if (clickedAt >= 0 && frame - clickedAt < clickRetryFrames) {
    place = "on the title screen (the click did not start the game)";
    return;
  }
  if (clickedAt < 0) timeline.mark("click", frame);
  place = "on the title screen (clicking)";
  hand->click();
  clickedAt = frame;
}

void Robot::notePrompt(const TitleScreen &title, long frame) {
  if (promptSeen || title.getPromptAlpha() <= 0.0f) return;
  promptSeen = true;
  timeline.mark("prompt", frame);
}

void Robot::playTitleAsPersona(SDL1_2Application &app, const TitleScreen &title) {
  const long frame = app.getFrameCount();
  notePrompt(title, frame);
  // A click switches the state before the frame is drawn: the title's frame, prompt fully in, comes first.
  const bool mayClick = !screenshots || titleKept;
  if (screenshots && !titleKept && title.getPromptAlpha() >= 1.0f) {
    titleKept = true;
    keepFrame("title", "title");
  }
  persona->beforeFrame(SceneWatcher::title(title, app.getDrawer()->getDrawingAreaSize()), mayClick);
  place = "on the title screen (" + persona->activity() + ")";
  if (!persona->clickedThisFrame()) return;
  if (clickedAt < 0) timeline.mark("click", frame);
  clickedAt = frame;
}

void Robot::paceWorldOfBars(SDL1_2Application &app, const GamePlayState &game) {
  if (uncapped) app.paceFrames(game.getCurrentWorld() == worldOfBars && !game.isClosing());
}

void Robot::giveUp(SDL1_2Application &app) {
  gaveUpAt = app.getFrameCount();
  // As a person who has had enough: Escape, which the title screen and the game take.
  events->pressKey(SDLK_ESCAPE);
}

void Robot::afterDraw(SDL1_2Application &app) {
  const bool watchFlash = flashTimes && inWorldOfBars && app.getCurrentState() == playerState.lock();
  if (!watchFlash) flashWatch.elsewhere();
  Drawer &drawer = *app.getDrawer();
  const int width = static_cast<int>(drawer.getWindowSize().x), height = static_cast<int>(drawer.getWindowSize().y);
  if (watchFlash) flashWatch.frame(width, height, std::chrono::steady_clock::now());
  if (flashMeter) {
    drawer.getScreenPixels(framePixels);
    if (framePixels.size() == static_cast<size_t>(width) * height * 3)
      flashMeter->addFrame(framePixels.data(), width, height);
  }
  if (!shotName.empty()) {
    screenshots->capture(*app.getDrawer(), shotName, shotCaption);
    shotName.clear();
  }
  if (player && playerState.lock() == app.getCurrentState() && player->afterDraw(app.getFrameCount()))
    gameFinished = true;
}
