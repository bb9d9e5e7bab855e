#pragma once

#include "platforms/SDL1.2Backend/SDL1.2Application.h"

// Ends the game at its first frame drawn by the title screen and prints how
// long the process took to get there: "title frame after S s (F frames)".
// Main thread.
class TitleStopwatch final : public SDL1_2Application::FrameHook {
 public:
  void beforeFrame(SDL1_2Application &app) override;
  void afterDraw(SDL1_2Application &app) override;

  bool reachedTitle() const { return reached; }

 private:
  // The frame being drawn is the title screen's.
  bool titleDrawing = false;
  bool reached = false;
};
