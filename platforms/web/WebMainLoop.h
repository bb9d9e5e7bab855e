#pragma once

#include "framework/app/FramePacer.h"

#include <memory>
#include <string>
#include <vector>

class Game;
class SDL1_2Application;

// One game in the browser, from the page's click to its end. The browser
// calls frame() at every paint (emscripten_set_main_loop over
// requestAnimationFrame): the due rounds of the threads run (WebThread), then
// as many game frames as the paint owes (FramePacer), so the game keeps 60
// frames a second whatever the display paints at (automation that unpaces
// the application gets as many frames as fit in a paint). A hidden tab gets no paints:
// the game pauses, and its sound with it. Once the game quits (Escape, the
// end), the application and its WebGL context are taken down and the page's
// Module.onGameEnd(status) is called; the page may then start another game,
// on a canvas of its own. Main thread only.
//
// While the audio context does not run (a browser that refuses sound, a
// phone call), every click, tap and key asks it to resume, and the page shows
// its note that sound is off (Module.soundNote); the game goes on in time
// meanwhile (AudioStandIn).
//
// The page reads how the game goes with murmel_stats() (exported).
class WebMainLoop final {
 public:
  // What a program adds to the game it runs in the page: the robot player.
  class Extension {
   public:
    virtual ~Extension() = default;
    // Before the application starts (frame hooks, pacing).
    virtual void prepare(SDL1_2Application &) {}
    // The game has quit, the application is still there: the status the page is told.
    virtual int ended(SDL1_2Application &, int status) { return status; }
  };

  // Brings the game (which lives as long as the page) up with the command line and hands it to the browser's
  // main loop; does not return then (the browser's loop takes over). Returns
  // false, the page told, when start-up failed.
  static bool run(const Game &game, const std::vector<std::wstring> &arguments,
                  std::unique_ptr<Extension> extension = nullptr);
  // The page's view of the game, as JSON: steps taken, the sound put out and
  // whether the audio context ever ran, the current state's name, the
  // pointer in canvas pixels and the WebAssembly memory's size (it only
  // grows: its peak). Valid until the next call.
  static const char *stats();
  // The page's own timer, between paints: tops the sound up, runs the
  // threads' due rounds and watches the device.
  static void tick();
  // The page's window settled at a new size (a turned phone, full screen):
  // the game takes it, in device pixels, at once. Between paints.
  static void resize(int width, int height);

 private:
  WebMainLoop() = default;

  static void frame(void *self);
  // One game frame; false once the game has ended (and this loop is gone).
  bool step();
  // The frames a paint owes from start on; false as step.
  bool paint(double start);
  // Once a paint: the page's note while the audio context does not run.
  void watchSound();
  // Takes the application down, tells the page and destroys this loop: the
  // last thing its caller does with it.
  void end();

  std::unique_ptr<SDL1_2Application> application;
  std::unique_ptr<Extension> extension;
  FramePacer pacer;
  bool paced = true;
  // Since when the audio context has been held (now, while it runs).
  double heldSince = 0.0;
  bool soundNoteShown = false;
  // The longest recent paint, fading; the loading screen's come first.
  double longestPaint = 300.0;
  int queuedBlocks = 0;
  long unpacedSteps = 0;
};
