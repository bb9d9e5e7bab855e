#include "game/GamePlayState.h"

#include "base/Assertion.h"
#include "framework/drawing/Drawer.h"
#include "base/Random.h"
#include "game/World0.h"
#include "game/World1.h"
#include "game/World2.h"
#include "game/World3.h"
#include "game/World4.h"
#include "game/World5.h"
#include "game/World6.h"
#include "game/World7.h"

#include <cmath>

GameStateCreator<GamePlayState> GamePlayState::creator;

namespace {

const float pi = 3.14159265f;
const ThreeFloats black(0.0f, 0.0f, 0.0f);
const ThreeFloats white(1.0f, 1.0f, 1.0f);
// The gathering is laid out for an area of this height.
const float layoutHeight = 720.0f;

// The game sounder as GamePlayState::Sounds.
class MurmelSounds final : public GamePlayState::Sounds {
 public:
  explicit MurmelSounds(MurmelSounder &sounder) : sounder(sounder) {}
  int activateSound(const std::wstring &name) override { return sounder.activateSound(name); }
  void deactivateSound(int handle) override { sounder.deactivateSound(handle); }
  void triggerSound(const std::wstring &name, StreamingSound::Callback *finished) override {
    sounder.triggerSound(name, 0.5f, finished);
  }
  void forgetFinished(StreamingSound::Callback *finished) override { sounder.unregisterCallback(finished); }
  void killTriggered() override { sounder.killTriggered(); }
  void setNoiseLevel(float level) override { sounder.setNoiseLevel(level); }
  void playMusic(const std::wstring &name) override { sounder.playMusic(name); }
  void stopMusic() override { sounder.stopMusic(); }
  void setCallback(MurmelSounder::Callback *callback) override { sounder.setCallback(callback); }
  const AudioClock *clock() const override { return &sounder.getClock(); }

 private:
  MurmelSounder &sounder;
};

std::unique_ptr<GamePlayState::Sounds> soundsOf(Sounder *sounder) {
  MurmelSounder *game = dynamic_cast<MurmelSounder *>(sounder);
  return std::unique_ptr<GamePlayState::Sounds>(game ? new MurmelSounds(*game) : nullptr);
}

// A random colour at least 0.1 away from white.
ThreeFloats randomColour() {
  Random &random = Random::getGlobal();
  ThreeFloats colour;
  do {
    colour.x = random.nextUnit();
    colour.y = random.nextUnit();
    colour.z = random.nextUnit();
  } while (std::sqrt((1 - colour.x) * (1 - colour.x) + (1 - colour.y) * (1 - colour.y) +
                     (1 - colour.z) * (1 - colour.z)) < 0.1f);
  return colour;
}

// 0 at phase 0 and 1, 1 at phase 0.5.
float riseAndFall(float phase) { return 1.0f - (std::cos(2.0f * pi * phase) * 0.5f + 0.5f); }

}  // namespace

GamePlayState::GamePlayState(Application *app, Sounder *gameSounder)
    : GameState(app, gameSounder), sounder(nullptr), ownSounds(soundsOf(gameSounder)) {
  sounder = ownSounds.get();
  start();
}

GamePlayState::GamePlayState(Application *app, Sounds *sounds) : GameState(app, nullptr), sounder(sounds) { start(); }

void GamePlayState::start() {
  closingColourTo = randomColour();
  worlds = {boost::shared_ptr<World>(new World0()), boost::shared_ptr<World>(new World1()),
            boost::shared_ptr<World>(new World2()), boost::shared_ptr<World>(new World3()),
            boost::shared_ptr<World>(new World4()), boost::shared_ptr<World>(new World5()),
            boost::shared_ptr<World>(new World6()), boost::shared_ptr<World>(new World7())};
  instruments = {L"ClackyThing",     L"HandDrum",   L"Scraper",   L"",
                 L"DanglyDrumThing", L"FingerBell", L"RainStick", L"SingingBowl"};
  speeches = {L"Speech_World0", L"Speech_World1", L"Speech_World2", L"Speech_World3",
              L"Speech_World4", L"Speech_World5", L"Speech_World6", L"Speech_World7"};
  if (sounder) instrumentId = sounder->activateSound(instruments[0]);
  captions.setClock(sounder ? sounder->clock() : nullptr);
  speak(0);
  if (sounder) sounder->setCallback(this);
  finalPositions = {TwoFloats(163.84001f, 544.0f),  TwoFloats(491.52002f, 400.00003f), TwoFloats(768.0f, 432.00003f),
                    TwoFloats(1003.51996f, 656.0f), TwoFloats(1167.36f, 368.00003f),   TwoFloats(1024.0f, 80.0f),
                    TwoFloats(696.32007f, 40.0f),   TwoFloats(434.176f, 120.0f)};
}

GamePlayState::~GamePlayState() {
  if (!sounder) return;
  sounder->setCallback(nullptr);
  sounder->forgetFinished(&captions);
}

void GamePlayState::speak(int world) {
  const std::wstring &passage = speeches[static_cast<size_t>(world)];
  if (sounder) sounder->triggerSound(passage, &captions);
  captions.passageStarted(passage, sounder != nullptr);
}

World &GamePlayState::getWorld(int index) const {
  MW_ASSERT(index >= 0 && index < NumWorlds);
  return *worlds[static_cast<size_t>(index)];
}

void GamePlayState::barStart(AudioFrame frame) { bars.post(frame); }

void GamePlayState::keyDown(const std::wstring &action, const std::wstring &, int) {
  if (action == L"Escape") {
    quit();
  } else if (action == L"Action" && sounder) {
    // A replay replaces the passage still speaking rather than talking over it.
    sounder->killTriggered();
    speak(currentWorld);
  }
}

void GamePlayState::mouseMove(const TwoFloats &position) {
  if (travel == 0.0f) getWorld(currentWorld).mouseMove(position);
}

void GamePlayState::draw(boost::shared_ptr<Drawer> drawerPtr) {
  Drawer &drawer = *drawerPtr;
  takeBars();
  followArea(drawer);
  const TwoFloats size = drawer.getDrawingAreaSize();
  const TwoFloats viewTopLeft = camera - size * 0.5f;
  const TwoFloats viewBottomRight = viewTopLeft + size;
  drawBackground(drawer, size);
  drawAndTickWorlds(drawer, viewTopLeft, viewBottomRight);
  captions.draw(drawer, Captions::areOn(app));
  if (closing) {
    stepClosing(size);
  } else if (travel > 0.0f) {
    stepJourney();
  } else if (currentWorld <= 6 && currentWorldDone()) {
    stepFlash(drawer, size);
  } else if (currentWorld == 7 && fadeOut <= 0.0f && currentWorldDone()) {
    stepClosingFlash(drawer, size);
  }
  drawCovers(drawer, size);
}

void GamePlayState::followArea(const Drawer &drawer) {
  const TwoFloats size = drawer.getDrawingAreaSize();
  const TwoFloats window = drawer.getWindowSize();
  const TwoFloats pixel(window.x > 0.0f ? size.x / window.x : 1.0f, window.y > 0.0f ? size.y / window.y : 1.0f);
  if (World::samePoint(size, worldArea) && World::samePoint(pixel, worldPixel)) return;
  // A closing camera that has come to rest on the area's centre rests on the
  // new centre; one still on its way heads there.
  if (closing && World::samePoint(camera, worldArea * 0.5f)) camera = size * 0.5f;
  worldArea = size;
  worldPixel = pixel;
  for (auto &world : worlds) {
    world->drawingAreaSize = size;
    world->pixelSize = pixel;
  }
}

void GamePlayState::takeBars() {
  const AudioClock *clock = sounder ? sounder->clock() : nullptr;
  const AudioClock::Clock::time_point now = AudioClock::Clock::now();
  for (HeardEvents<16>::Event bar; bars.takeHeard(clock, now, bar);) {
    for (auto &world : worlds) world->barStart();
    if (closing && gatherProgress >= 1.0f) pulsePhase = 0.02f;
  }
}

void GamePlayState::drawBackground(Drawer &drawer, const TwoFloats &size) {
  if (!closing) {
    ThreeFloats colour = getWorld(currentWorld).backgroundColour;
    if (travel > 0.0f) colour = (1.0f - travel) * colour + travel * getWorld(currentWorld + 1).backgroundColour;
    drawer.fillRect(TwoFloats(0, 0), size, colour, 1.0f);
    return;
  }
  const float b = closingColourBlend;
  drawer.fillRect(TwoFloats(0, 0), size, (1.0f - b) * closingColourFrom + b * closingColourTo, 1.0f);
  closingColourBlend += 0.005f;
  if (closingColourBlend >= 1.0f) {
    closingColourBlend = 0.0f;
    closingColourFrom = closingColourTo;
    closingColourTo = randomColour();
  }
}

void GamePlayState::drawAndTickWorlds(Drawer &drawer, const TwoFloats &viewTopLeft, const TwoFloats &viewBottomRight) {
  for (int i = 0; i < NumWorlds; ++i) {
    World &world = getWorld(i);
    // A world may set a slightly negative scale; its rings are as large either way.
    const float side = std::fabs(1024.0f * world.scale);
    const float left = world.ringPositions[0].x - side * 0.5f;
    const float top = world.ringPositions[0].y - side * 0.5f;
    const bool visible = left + side > viewTopLeft.x && left < viewBottomRight.x && top + side > viewTopLeft.y &&
                         top < viewBottomRight.y;
    if (visible) {
      const float ringSizes[3] = {world.ringSizes.x, world.ringSizes.y, world.ringSizes.z};
      for (int k = 0; k < 3; ++k) {
        const float r = ringSizes[k] * world.scale * 512.0f;
        drawer.drawImage(L"Circle", world.ringPositions[k] - TwoFloats(r, r) - viewTopLeft,
                         TwoFloats(r / 512.0f, r / 512.0f), world.ringColours[k], 0.9f);
      }
    }
    // The current world always runs: some worlds move their rings only in
    // their tick and could otherwise never come back into view.
    if (closing || !(visible || i == currentWorld)) continue;
    if (world.scale > 0.01f && world.scale < 0.66f) world.scale -= world.scale > 0.05f ? 0.001f : 0.00005f;
    world.subclassTick();
  }
}

void GamePlayState::stepClosing(const TwoFloats &size) {
  // The camera comes to rest with the plane's origin in the top-left corner,
  // and the gathering's places, laid out for a 720-high area, stretch or
  // squeeze to the area's height; on a lower area the worlds shrink with it.
  const TwoFloats home = size * 0.5f;
  const float fit = std::fmin(1.0f, size.y / layoutHeight);
  if (camera.x != home.x || camera.y != home.y) {
    camera.y += (home.y - camera.y) * 0.01f;
    camera.x += (home.x - camera.x) * 0.01f;
    if (World::distance(camera, home) < 1.0f) camera = home;
  }
  const bool gathering = gatherProgress < 1.0f;
  // Capped so that the gathering ends exactly on the final places.
  if (gathering) gatherProgress = std::fmin(gatherProgress + 0.002f, 1.0f);
  // Placed every frame, gathered or not, so that the places follow an area that changes shape.
  for (int i = 0; i < NumWorlds; ++i) {
    World &world = getWorld(i);
    const TwoFloats &place = finalPositions[static_cast<size_t>(i)];
    world.setPosition(gatherProgress * TwoFloats(place.x, place.y * (size.y / layoutHeight)) +
                      (1.0f - gatherProgress) * world.homePosition);
    if (gathering) world.scale = (1.0f - gatherProgress) * 0.46f + 0.2f + gatherProgress * (0.2f * fit - 0.2f);
  }
  if (!gathering && pulsePhase > 0.0f) {
    pulsePhase += 0.02f;
    for (auto &world : worlds) world->scale = (riseAndFall(pulsePhase) * 0.1f + 0.2f) * fit;
    if (pulsePhase > 1.0f) pulsePhase = 0.0f;
  }
  closingFrames -= 1;
  if (closingFrames < 1) {
    fadeOut += 0.01f;
    if (sounder) sounder->stopMusic();
  }
}

void GamePlayState::stepJourney() {
  travel += 0.01f;
  if (travel >= 1.0f) {
    travel = 0.0f;
    currentWorld += 1;
    currentDone = false;
    if (sounder) {
      const size_t world = static_cast<size_t>(currentWorld);
      sounder->setNoiseLevel(1.0f - currentWorld * 0.125f);
      sounder->deactivateSound(instrumentId);
      sounder->killTriggered();
      instrumentId = sounder->activateSound(instruments[world]);
    }
    speak(currentWorld);
    if (sounder && currentWorld == 3) sounder->playMusic(L"Music");
  }
  // Eases in and out from the world being left to the next.
  const float k = 1.0f - (std::cos(pi * travel) * 0.5f + 0.5f);
  camera = (1.0f - k) * getWorld(currentWorld).homePosition;
  if (currentWorld <= 6) camera = camera + k * getWorld(currentWorld + 1).homePosition;
}

void GamePlayState::stepFlash(Drawer &drawer, const TwoFloats &size) {
  if (!flashing) {
    flashing = true;
    flashPhase = 0.03f;
  } else {
    flashPhase += 0.03f;
    if (flashPhase >= 1.0f) {
      travel = 0.01f;
      flashPhase = 0.0f;
      flashing = false;
    }
  }
  drawer.fillRect(TwoFloats(0, 0), size, white, riseAndFall(flashPhase));
}

void GamePlayState::stepClosingFlash(Drawer &drawer, const TwoFloats &size) {
  drawer.fillRect(TwoFloats(0, 0), size, white, riseAndFall(flashPhase));
  if (!flashing) {
    flashing = true;
    flashPhase = 0.03f;
    return;
  }
  flashPhase += 0.03f;
  if (flashPhase >= 1.0f) beginClosing();
}

void GamePlayState::beginClosing() {
  if (sounder) {
    sounder->setNoiseLevel(0.0f);
    sounder->deactivateSound(instrumentId);
  }
  closing = true;
  flashPhase = 0.0f;
  flashing = false;
  currentWorld = 7;
  // A red flash of the fourth world may have stopped half-way: the ticks have ended.
  const ThreeFloats resting[3] = {ThreeFloats(0.99215686f, 0.58431375f, 0.0f),
                                  ThreeFloats(0.015686275f, 0.02745098f, 0.23921569f),
                                  ThreeFloats(0.6392157f, 0.62352943f, 1.0f)};
  getWorld(3).setRingColours(resting);
}

void GamePlayState::drawCovers(Drawer &drawer, const TwoFloats &size) {
  if (fadeIn > 0.0f) {
    drawer.fillRect(TwoFloats(0, 0), size, black, fadeIn);
    fadeIn -= 0.02f;
  } else if (fadeOut > 0.0f) {
    drawer.fillRect(TwoFloats(0, 0), size, black, fadeOut);
    fadeOut += 0.00005f;
    if (fadeOut > 1.0f) quit();
  }
}

bool GamePlayState::currentWorldDone() {
  if (!currentDone) currentDone = getWorld(currentWorld).worldDone();
  return currentDone;
}
