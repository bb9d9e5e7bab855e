#include "framework/app/Platform.h"

#include "base/CriticalSection.h"
#include "base/Thread.h"
#include "framework/app/CmdLineParams.h"
#include "framework/drawing/GLESDrawer.h"
#include "framework/sound/SilentClockAudioDevice.h"
#include "platforms/SDL1.2Backend/SDL1.2Application.h"
#include "platforms/SDL1.2Backend/SDL1.2AudioDevice.h"
#include "platforms/desktop/LibraryChatter.h"
#include "platforms/desktop/SDL1.2CriticalSection.h"
#include "platforms/desktop/SDL1.2Thread.h"
#include "platforms/desktop/drawing/GLImmediateDrawer.h"
#include "platforms/desktop/sound/PortAudioDevice.h"

void Platform::install() {
  Thread::setBackendThreadCreator(&SDL1_2Thread::creator);
  CriticalSection::setBackendCritSecCreator(&SDL1_2CriticalSection::creator);
}

void Platform::quietenLibraries() { LibraryChatter::quietenUnlessDebugging(); }

// The shader drawer where the context runs it, else the fixed-function one:
// a context too old, or a driver that rejects the built-in programs (it has
// said why on standard error by then).
boost::shared_ptr<Drawer> Platform::createDrawer() {
  if (GLESDrawer::isSupported()) {
    boost::shared_ptr<GLESDrawer> drawer(new GLESDrawer());
    if (drawer->prepare()) return drawer;
  }
  return boost::shared_ptr<Drawer>(new GLImmediateDrawer());
}

std::vector<std::unique_ptr<AudioDevice>> Platform::audioDevices(const std::wstring &api) {
  std::vector<std::unique_ptr<AudioDevice>> devices;
  // PortAudio only for the host interfaces it alone reaches; SDL's own otherwise.
  if (api == L"ALSA" || api == L"JACK" || api == L"OSS") devices.push_back(std::make_unique<PortAudioDevice>());
  devices.push_back(std::make_unique<SDL1_2AudioDevice>());
  // The silent clock keeps everything timed by audio going without a sound card.
  devices.push_back(std::make_unique<SilentClockAudioDevice>());
  return devices;
}

int Platform::run(const Game &game, const std::vector<std::wstring> &arguments) {
  SDL1_2Application application(game);
  CmdLineParams params(arguments);
  application.initialise(params);
  application.eventLoop();
  return application.getExitStatus();
}
