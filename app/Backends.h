#pragma once

#include <boost/shared_ptr.hpp>
#include <memory>
#include <string>
#include <vector>

class AudioDevice;
class Drawer;

// The concrete drawers and audio devices a build has, named in this one
// place. The build compiles one definition of it: the desktop's
// (app/SDL1.2Backend/SDL1.2Backends.cpp) or the browser's
// (app/WebBackend/WebBackends.cpp). The thread and lock back-ends are the
// program entry's to install. Main thread only.
class Backends final {
 public:
  // Once, before SDL starts: keeps the libraries under the program from
  // printing their own probing failures (LibraryChatter), where there are any.
  static void quietenLibraries();
  // A new drawer for the OpenGL context that is current now: the first of
  // the build's drawers that runs in it.
  static boost::shared_ptr<Drawer> createDrawer();
  // The audio devices to try, in order, for the host interface named on
  // the command line; the last one is the silent clock.
  static std::vector<std::unique_ptr<AudioDevice>> audioDevices(const std::wstring &api);
};
