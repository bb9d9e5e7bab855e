#include "app/Backends.h"

#include "app/LibraryChatter.h"
#include "app/SDL1.2Backend/SDL1.2AudioDevice.h"
#include "drawing/GLESDrawer.h"
#include "drawing/GLImmediateDrawer.h"
#include "sound/PortAudioDevice.h"
#include "sound/SilentClockAudioDevice.h"

void Backends::quietenLibraries() { LibraryChatter::quietenUnlessDebugging(); }

// The shader drawer where the context runs it, else the fixed-function one:
// a context too old, or a driver that rejects the built-in programs (it has
// said why on standard error by then).
boost::shared_ptr<Drawer> Backends::createDrawer() {
  if (GLESDrawer::isSupported()) {
    boost::shared_ptr<GLESDrawer> drawer(new GLESDrawer());
    if (drawer->prepare()) return drawer;
  }
  return boost::shared_ptr<Drawer>(new GLImmediateDrawer());
}

std::vector<std::unique_ptr<AudioDevice>> Backends::audioDevices(const std::wstring &api) {
  std::vector<std::unique_ptr<AudioDevice>> devices;
  // PortAudio only for the host interfaces it alone reaches; SDL's own otherwise.
  if (api == L"ALSA" || api == L"JACK" || api == L"OSS") devices.push_back(std::make_unique<PortAudioDevice>());
  devices.push_back(std::make_unique<SDL1_2AudioDevice>());
  // The silent clock keeps everything timed by audio going without a sound card.
  devices.push_back(std::make_unique<SilentClockAudioDevice>());
  return devices;
}
