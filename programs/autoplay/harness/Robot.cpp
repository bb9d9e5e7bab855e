#include "harness/Robot.h"

#include "harness/EventPusher.h"
#include "harness/FlashMeter.h"
#include "harness/FrameKeeper.h"
#include "harness/GamePlayer.h"
#include "harness/Hand.h"
#include "harness/Timeline.h"

#include "base/UTF8File.h"
#include "framework/app/GameState.h"
#include "framework/drawing/Drawer.h"
#include "game/GamePlayState.h"
#include "game/TitleScreen.h"
#include "game/World.h"

#include <SDL/SDL.h>

#include <cstdio>

namespace {

// The world whose flash follows the music's bars.
const int worldOfBars = 3;

}  // namespace

Robot::Robot(Timeline &timeline, FrameKeeper *screenshots, long maxFrames, Player::Maker makePlayer)
    : timeline(timeline), screenshots(screenshots), maxFrames(maxFrames), makePlayer(std::move(makePlayer)) {}

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
    player = makePlayer(*events, *hand, area);
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
  if (player->gaveUp()) {
    char reason[160];
    std::snprintf(reason, sizeof reason, "the first-time player gave up on %s after %.0f s", worldName.c_str(),
                  player->triedSeconds());
    playerGaveUp = reason;
    giveUp(app);
    return;
  }

  const boost::shared_ptr<GameState> current = app.getCurrentState();
  GameState *state = current.get();
  const std::string stateName = state ? UTF8File::toUtf8(state->getName()) : std::string();
  worldName = "the title screen";
  if (const TitleScreen *title = dynamic_cast<const TitleScreen *>(state)) {
    if (lastStateName != stateName) timeline.mark("title screen", frame);
    playTitle(app, *title);
  } else if (GamePlayState *game = dynamic_cast<GamePlayState *>(state)) {
    if (!gamePlayer || gameState.lock() != current) {
      gamePlayer.reset(new GamePlayer(*game, timeline, filler, *player));
      gameState = current;
    }
    worldName = "world " + std::to_string(game->getCurrentWorld());
    const GamePlayer::Look look = gamePlayer->beforeFrame(*hand, frame);
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
  } else {
    place = "on the loading screen";
    player->onLoading();
  }
  lastStateName = stateName;
}

void Robot::playTitle(SDL1_2Application &app, const TitleScreen &title) {
  const long frame = app.getFrameCount();
  notePrompt(title, frame);
  // A click switches the state before the frame is drawn: the title's frame, prompt fully in, comes first.
  const bool mayClick = !screenshots || titleKept;
  if (screenshots && !titleKept && title.getPromptAlpha() >= 1.0f) {
    titleKept = true;
    keepFrame("title", "title");
  }
  bool clicked = false;
  place = "on the title screen (" + player->onTitle(title, frame, mayClick, clicked) + ")";
  if (!clicked) return;
  // The click that starts the game: one before the prompt shows is not taken.
  if (clickedAt >= 0 || title.getPromptAlpha() <= 0.0f) return;
  timeline.mark("click", frame);
  clickedAt = frame;
}

void Robot::notePrompt(const TitleScreen &title, long frame) {
  if (promptSeen || title.getPromptAlpha() <= 0.0f) return;
  promptSeen = true;
  timeline.mark("prompt", frame);
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
  const bool watchFlash = flashTimes && inWorldOfBars && app.getCurrentState() == gameState.lock();
  if (!watchFlash) flashWatch.elsewhere();
  Drawer &drawer = *app.getDrawer();
  const int width = static_cast<int>(drawer.getWindowSize().x), height = static_cast<int>(drawer.getWindowSize().y);
  if (watchFlash) flashWatch.frame(width, height, std::chrono::steady_clock::now());
  const bool playerSees = player && player->seesPixels();
  if (flashMeter || playerSees) {
    drawer.getScreenPixels(framePixels);
    if (framePixels.size() == static_cast<size_t>(width) * height * 3) {
      if (flashMeter) flashMeter->addFrame(framePixels.data(), width, height);
      if (playerSees) player->see(framePixels.data(), width, height, drawer.getDrawingAreaSize());
    }
  }
  if (!shotName.empty()) {
    screenshots->capture(*app.getDrawer(), shotName, shotCaption);
    shotName.clear();
  }
  if (gamePlayer && gameState.lock() == app.getCurrentState() && gamePlayer->afterDraw(app.getFrameCount()))
    gameFinished = true;
}
