#include "harness/TitleStopwatch.h"

#include "harness/ProcessClock.h"

#include "game/TitleScreen.h"

#include <cstdio>

void TitleStopwatch::beforeFrame(SDL1_2Application &app) {
  // Asked before the frame: the loading screen hands over to the title in
  // the middle of drawing its last frame.
  titleDrawing = dynamic_cast<TitleScreen *>(app.getCurrentState().get()) != nullptr;
}

void TitleStopwatch::afterDraw(SDL1_2Application &app) {
  if (!titleDrawing || reached) return;
  reached = true;
  std::printf("title frame after %.4f s (%ld frames)\n", ProcessClock::secondsSinceStart(), app.getFrameCount() + 1);
  std::fflush(stdout);
  app.quit();
}
