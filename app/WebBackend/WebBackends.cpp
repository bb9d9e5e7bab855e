#include "app/Backends.h"

#include "app/AppSettings.h"
#include "app/SDL1.2Backend/SDL1.2AudioDevice.h"
#include "app/UTF8File.h"
#include "app/WebBackend/WebAudioTiming.h"
#include "drawing/GLESDrawer.h"
#include "sound/SilentClockAudioDevice.h"

#include <cstdio>

// Nothing under the browser build prints probing failures of its own.
void Backends::quietenLibraries() {}

// WebGL has no fixed-function OpenGL to fall back on: the shader drawer or
// nothing. One that cannot run is used all the same and draws nothing, after
// the console has been told why.
boost::shared_ptr<Drawer> Backends::createDrawer() {
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
std::vector<std::unique_ptr<AudioDevice>> Backends::audioDevices(const std::wstring &) {
  std::vector<std::unique_ptr<AudioDevice>> devices;
  devices.push_back(std::make_unique<SDL1_2AudioDevice>(std::make_unique<WebAudioTiming>()));
  // Without Web Audio the silent clock keeps everything timed by audio going.
  devices.push_back(std::make_unique<SilentClockAudioDevice>());
  return devices;
}
