// The game's program, on the desktop and in the page alike: installs the
// platform the build is for and hands it the game. The page calls main on
// its click, and again for every game after that.
#include "framework/app/CmdLineParams.h"
#include "framework/app/Platform.h"
#include "game/MurmelGame.h"

int main(int argc, char *argv[]) {
  Platform::install();
  // In the page the browser's loop goes on after main has returned.
  static const MurmelGame game;
  return Platform::run(game, CmdLineParams::fromMain(argc, argv));
}
