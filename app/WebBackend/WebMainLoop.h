#pragma once

#include "app/FramePacer.h"

#include <memory>
#include <string>
#include <vector>

class SDL1_2Application;

// One game in the browser, from the page's click to its end. The browser
// calls frame() at every paint (emscripten_set_main_loop over
// requestAnimationFrame): the due rounds of the threads run (WebThread), then
// as many game frames as the paint owes (FramePacer), so the game keeps 60
// frames a second whatever the display paints at. A hidden tab gets no paints:
// the game pauses, and its sound with it. Once the game quits (Escape, the
// end), the application and its WebGL context are taken down and the page's
// Module.onGameEnd(status) is called; the page may then start another game,
// on a canvas of its own. Main thread only.
class WebMainLoop final {
 public:
  // Brings the game up with the command line and hands it to the browser's
  // main loop; does not return then (the browser's loop takes over). Returns
  // false, the page told, when start-up failed.
  static bool run(const std::vector<std::wstring> &arguments);

 private:
  WebMainLoop() = default;

  static void frame(void *self);
  // Takes the application down, tells the page and destroys this loop: the
  // last thing its caller does with it.
  void end();

  std::unique_ptr<SDL1_2Application> application;
  FramePacer pacer;
};
