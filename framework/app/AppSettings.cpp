#include "framework/app/AppSettings.h"

#include "framework/app/Platform.h"
#include "framework/app/Game.h"
#include "framework/app/GlobalData.h"
#include "framework/sound/Sounder.h"

const std::wstring AppSettings::applicationName = L"Murmel Worlds";
const std::wstring AppSettings::applicationVersion = L"1.00";

void AppSettings::initialise(CmdLineParams &, Application *app, KeyManager &keys, std::wstring &) {
  if (game && app) game->initialise(*this, *app, keys);
}

// Whichever of the build's drawers runs in the context.
boost::shared_ptr<Drawer> AppSettings::getDrawer() { return Platform::createDrawer(); }

std::unique_ptr<Sounder> AppSettings::getSounder() { return game ? game->createSounder() : nullptr; }

boost::shared_ptr<GlobalData> AppSettings::getGlobalData() { return boost::shared_ptr<GlobalData>(new GlobalData()); }

void AppSettings::cmdLineParameterFound(const std::wstring &name, const std::wstring &value) {
  parameterValues.insert(std::make_pair(name, value));
}
