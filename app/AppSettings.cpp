#include "app/AppSettings.h"

#include "app/Application.h"
#include "app/Backends.h"
#include "app/GlobalData.h"
#include "app/KeyManager.h"
#include "game/GamePlayState.h"
#include "game/TitleScreen.h"
#include "sound/MurmelSounder.h"

const std::wstring AppSettings::applicationName = L"Murmel Worlds";
const std::wstring AppSettings::applicationVersion = L"1.00";

void AppSettings::initialise(CmdLineParams &, Application *app, KeyManager &keys, std::wstring &) {
  drawingAreaHeight = 720;
  drawingAreaWidth = 1280;
  scalingMode = 1;

  app->registerGameState(L"TitleScreen", &TitleScreen::creator, true);
  app->registerGameState(L"GamePlayState", &GamePlayState::creator, false);

  keys.addMapping(L"P1Up", L"CursorUp", true);
  keys.addMapping(L"P1Left", L"CursorLeft", true);
  keys.addMapping(L"P1Right", L"CursorRight", true);
  keys.addMapping(L"P1Down", L"CursorDown", true);
  keys.addMapping(L"Escape", L"Escape", true);
  keys.addMapping(L"Action", L"Space", true);
  keys.addMapping(L"Action", L"z", true);
}

// Whichever of the build's drawers runs in the context.
boost::shared_ptr<Drawer> AppSettings::getDrawer() { return Backends::createDrawer(); }

std::unique_ptr<Sounder> AppSettings::getSounder() { return std::make_unique<MurmelSounder>(); }

boost::shared_ptr<GlobalData> AppSettings::getGlobalData() { return boost::shared_ptr<GlobalData>(new GlobalData()); }

void AppSettings::cmdLineParameterFound(const std::wstring &name, const std::wstring &value) {
  parameterValues.insert(std::make_pair(name, value));
}
