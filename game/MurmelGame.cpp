#include "game/MurmelGame.h"

#include "framework/app/AppSettings.h"
#include "framework/app/Application.h"
#include "framework/app/KeyManager.h"
#include "framework/drawing/TextAtlas.h"
#include "framework/resources/ResourceManager.h"
#include "game/Circle.h"
#include "game/GamePlayState.h"
#include "game/LoadingScreen.h"
#include "game/MurmelSounder.h"
#include "game/TitleScreen.h"

void MurmelGame::initialise(AppSettings &settings, Application &app, KeyManager &keys) const {
  settings.drawingAreaHeight = 720;
  settings.drawingAreaWidth = 1280;
  settings.scalingMode = 1;

  app.registerGameState(L"TitleScreen", &TitleScreen::creator, true);
  app.registerGameState(L"GamePlayState", &GamePlayState::creator, false);

  keys.addMapping(L"P1Up", L"CursorUp", true);
  keys.addMapping(L"P1Left", L"CursorLeft", true);
  keys.addMapping(L"P1Right", L"CursorRight", true);
  keys.addMapping(L"P1Down", L"CursorDown", true);
  keys.addMapping(L"Escape", L"Escape", true);
  keys.addMapping(L"Action", L"Space", true);
  keys.addMapping(L"Action", L"z", true);
}

std::unique_ptr<Sounder> MurmelGame::createSounder() const { return std::make_unique<MurmelSounder>(); }

void MurmelGame::registerResources(ResourceManager &resources) const {
  resources.registerSingleImage(boost::shared_ptr<SingleImage>(new Circle()));
  resources.registerTextureAtlas(boost::shared_ptr<TextureAtlas>(new TextAtlas()));
  // Without the folder there is nothing to load (and no file elsewhere on
  // the machine may stand in); the application says so once.
  const FilePath sounds = ResourceManager::soundsFolder();
  if (!sounds.isDirectory()) return;
  for (const std::wstring &name : soundNames()) resources.registerSound(sounds.getChild(name + L".ogg"));
}

boost::shared_ptr<GameState> MurmelGame::createLoadingState(Application *app, Sounder *sounder) const {
  return LoadingScreen::creator.createInstance(app, sounder);
}

const std::vector<std::wstring> &MurmelGame::soundNames() {
  static const std::vector<std::wstring> names = {
      L"ClackyThing",   L"DanglyDrumThing", L"Drone1",        L"FingerBell",    L"HandDrum",      L"Music",
      L"RainStick",     L"Scraper",         L"SingingBowl",   L"Speech_Intro",  L"Speech_World0", L"Speech_World1",
      L"Speech_World2", L"Speech_World3",   L"Speech_World4", L"Speech_World5", L"Speech_World6", L"Speech_World7"};
  return names;
}
