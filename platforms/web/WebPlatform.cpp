#include "framework/app/Platform.h"

#include "base/CriticalSection.h"
#include "base/Thread.h"
#include "base/UTF8File.h"
#include "framework/app/AppSettings.h"
#include "framework/drawing/GLESDrawer.h"
#include "framework/sound/SilentClockAudioDevice.h"
#include "platforms/SDL1.2Backend/SDL1.2AudioDevice.h"
#include "platforms/web/WebAudioTiming.h"
#include "platforms/web/WebCriticalSection.h"
#include "platforms/web/WebMainLoop.h"
#include "platforms/web/WebThread.h"

#include <cstdio>
#include <cstdlib>

void Platform::install() {
  Thread::setBackendThreadCreator(&WebThread::creator);
  CriticalSection::setBackendCritSecCreator(&WebCriticalSection::creator);
  // The sounds are packed into the page's data as "/sounds".
  setenv("MURMEL_WORLDS_DATA", "/", 0);
}

// Nothing under the browser build prints probing failures of its own.
void Platform::quietenLibraries() {}

// WebGL has no fixed-function OpenGL to fall back on: the shader drawer or
// nothing. One that cannot run is used all the same and draws nothing, after
// the console has been told why.
boost::shared_ptr<Drawer> Platform::createDrawer() {
  boost::shared_ptr<GLESDrawer> drawer(new GLESDrawer());
  if (!GLESDrawer::isSupported()) {
    std::string name;
    UTF8File::wstringToChar(AppSettings::applicationName, name);
    std::fprintf(
        stderr,
        "%s: this browser's WebGL has no vertex array objects (OES_vertex_array_object): nothing can be drawn\n",
        name.c_str());
  }
  drawer->prepare();
  return drawer;
}

// SDL's device is the browser's Web Audio; the interface name has no meaning here.
std::vector<std::unique_ptr<AudioDevice>> Platform::audioDevices(const std::wstring &) {
  std::vector<std::unique_ptr<AudioDevice>> devices;
  devices.push_back(std::make_unique<SDL1_2AudioDevice>(std::make_unique<WebAudioTiming>()));
  // Without Web Audio the silent clock keeps everything timed by audio going.
  devices.push_back(std::make_unique<SilentClockAudioDevice>());
  return devices;
}

int Platform::run(const Game &game, const std::vector<std::wstring> &arguments) {
  return WebMainLoop::run(game, arguments) ? 0 : 1;
}
