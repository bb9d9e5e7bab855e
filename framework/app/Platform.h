#pragma once

#include <boost/shared_ptr.hpp>
#include <memory>
#include <string>
#include <vector>

class AudioDevice;
class Drawer;
class Game;

// Everything a platform supplies, in one place. The build compiles one
// platform's folder (platforms/desktop or platforms/web, each over the SDL
// shell in platforms/SDL1.2Backend), which defines:
//  - the functions of this class: threads and locks, the drawers, the audio
//    devices in their fallback order, and the main loop;
//  - image decoding: ImageLoader (framework/drawing/ImageLoader.h);
//  - resampling: ResamplingLoader::toRate (framework/sound/ResamplingLoader.h).
// Where settings live is the same on both: FilePath::getAppDataPath.
// Main thread only.
class Platform final {
 public:
  // First thing in every program (and test program): installs the
  // platform's thread and lock back-ends. Idempotent.
  static void install();
  // Once, before SDL starts: keeps the libraries under the program from
  // printing their own probing failures (LibraryChatter), where there are any.
  static void quietenLibraries();
  // A new drawer for the OpenGL context that is current now: the first of
  // the platform's drawers that runs in it.
  static boost::shared_ptr<Drawer> createDrawer();
  // The audio devices to try, in order, for the host interface named on
  // the command line; the last one is the silent clock.
  static std::vector<std::unique_ptr<AudioDevice>> audioDevices(const std::wstring &api);
  // Runs the game with the command line until it quits: the exit status, 0
  // or 1 when start-up failed. In the page the browser's paints run the
  // frames and this does not return once the game is up. The game outlives it.
  static int run(const Game &game, const std::vector<std::wstring> &arguments);
};
