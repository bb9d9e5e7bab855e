#include "platforms/web/WebMainLoop.h"

#include "framework/app/CmdLineParams.h"
#include "framework/app/GameState.h"
#include "platforms/SDL1.2Backend/SDL1.2Application.h"
#include "base/UTF8File.h"
#include "platforms/web/WebAudioTiming.h"
#include "platforms/web/WebThread.h"
#include "framework/sound/OutputMeter.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <emscripten.h>
#include <emscripten/heap.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// The game under way; none between games.
std::unique_ptr<WebMainLoop> current;

// Over every game since the page loaded.
OutputMeter outputMeter;
long stepsTaken = 0;
bool audioRan = false;

// An unpaced paint runs frames for this long, leaving the browser time to paint.
const double unpacedPaintMilliseconds = 30.0;
// Unpaced frames between two waits for their drawing: a few keep the GPU
// from falling far behind, and the browser's and the GPU's work overlapping.
const int framesBetweenReadBacks = 4;
// A context held this long before the page says that sound is off.
const double soundNoteMilliseconds = 1000.0;
// What SDL's queue must hold beyond the longest recent paint of the game's
// (its loading steps are long), and how fast a long paint is forgotten: by
// half every two seconds of paints at 60 a second.
const double queueMarginMilliseconds = 60.0;
const double longestPaintDecay = 0.9942;

// Called inside the page's click: a browser that made SDL's audio context
// wait for a gesture lets it start now. Every later click, tap and key tries
// again, should the context have been stopped since (a phone call, a browser
// that refused it for good until the next gesture).
void resumeAudio() {
  EM_ASM({
    var resume = function() {
      if (typeof SDL != 'undefined' && SDL.audioContext && SDL.audioContext['state'] != 'running' &&
          SDL.audioContext['state'] != 'closed' && !document.hidden)
        SDL.audioContext['resume']();
    };
    resume();
    if (Module['murmelResumes']) return;
    Module['murmelResumes'] = true;
    'pointerdown touchend keydown'.split(' ').forEach(function(name) { addEventListener(name, resume, true); });
  });
}

// Asks SDL for the blocks its queue lacks: its timers alone come late on a busy page.
void topUpAudio() {
  EM_ASM({
    if (typeof SDL != 'undefined' && SDL.audio && SDL.audio.queueNewAudioData && !SDL.audio.paused)
      SDL.audio.queueNewAudioData();
  });
}

// SDL's own timers wake when half a block is left, less than the 50 ms it
// schedules ahead, and paints may stall (a busy machine, a software GPU): a
// timer of the page's own tops the queue up and runs the threads' rounds
// (the silent clock among them) between paints too. A hidden tab's game
// pauses, so its timer does nothing.
void startTicking() {
  EM_ASM({
    if (!Module['murmelTicks'])
      Module['murmelTicks'] = setInterval(function() {
        if (!document.hidden) Module['_murmel_tick']();
      }, 10);
  });
}

void stopTicking() {
  EM_ASM({
    clearInterval(Module['murmelTicks']);
    Module['murmelTicks'] = 0;
  });
}

// The browser queues a frame's drawing at once and the GPU (a software one,
// say) draws it later: unpaced frames would queue seconds of it, and a later
// call would wait them out with nothing else run meanwhile (the silent clock
// would lose that time). A pixel read back waits for the drawing so far, and
// the paint's budget counts it; glFinish is no wait in every browser.
void waitForDrawing() {
  unsigned char pixel[4];
  glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

// No timer runs while the main thread is busy: SDL's queue has to hold more
// than the longest paint, and no more than that (the sound lags the game by
// it; the clock makes up for the lag, a short queue keeps it small).
int queuedBlocksFor(double longestPaintMilliseconds) {
  const double blockMilliseconds = 1000.0 * WebAudioTiming::FramesPerBlock / 44100.0;
  const int blocks = static_cast<int>(std::ceil((longestPaintMilliseconds + queueMarginMilliseconds) / blockMilliseconds));
  return std::clamp(blocks, WebAudioTiming::QueuedBlocks, 16);
}

void queueBlocks(int blocks) {
  EM_ASM(
      {
        if (typeof SDL != 'undefined' && SDL.audio) SDL.audio.numSimultaneouslyQueuedBuffers = $0;
      },
      blocks);
}

// The page's note that sound is off, shown or taken away.
void showSoundNote(bool shown) {
  EM_ASM(
      {
        if (Module['soundNote']) Module['soundNote']($0);
      },
      shown);
}

// 0 no audio context, 1 suspended, 2 running, 3 closed.
int audioState() {
  return EM_ASM_INT({
    if (typeof SDL == 'undefined' || !SDL.audioContext) return 0;
    var state = SDL.audioContext['state'];
    return state == 'running' ? 2 : state == 'closed' ? 3 : 1;
  });
}

void tellPage(int status) {
  EM_ASM(
      {
        if (Module['onGameEnd']) Module['onGameEnd']($0);
      },
      status);
}

// SDL's Web Audio device asks for sound on timers of its own, which a hidden
// tab slows down and which the streaming rounds (they need paints) would not
// keep up with: the audio context is suspended while the game pauses, and the
// blocks already queued play on when it comes back. (SDL_PauseAudio leaves
// timers running that then ask for block after block and throw them away.)
EM_BOOL visibilityChanged(int, const EmscriptenVisibilityChangeEvent *event, void *) {
  EM_ASM(
      {
        if (typeof SDL == 'undefined' || !SDL.audioContext) return;
        if ($0)
          SDL.audioContext['suspend']();
        else
          SDL.audioContext['resume']();
      },
      event->hidden);
  return EM_FALSE;
}

}  // namespace

bool WebMainLoop::run(const Game &game, const std::vector<std::wstring> &arguments, std::unique_ptr<Extension> extension) {
  current.reset(new WebMainLoop());
  WebMainLoop &loop = *current;
  loop.application.reset(new SDL1_2Application(game));
  loop.application->setOutputMeter(&outputMeter);
  loop.extension = std::move(extension);
  if (loop.extension) loop.extension->prepare(*loop.application);
  {
    CmdLineParams params(arguments);
    loop.application->initialise(params);
  }
  if (loop.application->getExitStatus() != 0) {
    loop.end();
    return false;
  }
  resumeAudio();
  loop.heldSince = emscripten_get_now();
  startTicking();
  emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, visibilityChanged);
  // Paced by the browser's paints; this call does not return.
  emscripten_set_main_loop_arg(frame, &loop, 0, true);
  return true;
}

bool WebMainLoop::step() {
  if (!application->runFrame()) {
    end();
    return false;
  }
  ++stepsTaken;
  return true;
}

void WebMainLoop::frame(void *self) {
  WebMainLoop &loop = *static_cast<WebMainLoop *>(self);
  // A held context's queue is left as it is: a longer one would have SDL ask
  // for a burst of blocks that nobody hears, and the silent clock that keeps
  // the time meanwhile would take it for the device's return.
  const int blocks = queuedBlocksFor(loop.longestPaint);
  if (blocks != loop.queuedBlocks && audioState() == 2) queueBlocks(loop.queuedBlocks = blocks);
  topUpAudio();
  WebThread::runDueRounds();
  loop.watchSound();
  const double start = emscripten_get_now();
  // The game may end in a step, and this loop with it.
  if (!loop.paint(start)) return;
  loop.longestPaint = std::max(emscripten_get_now() - start, loop.longestPaint * longestPaintDecay);
}

bool WebMainLoop::paint(double start) {
  if (application->framesPaced()) {
    // A pacer left while unpaced owes nothing from then: it starts afresh.
    if (!paced) pacer = FramePacer();
    paced = true;
    for (int steps = pacer.stepsAt(start / 1000.0); steps > 0; --steps)
      if (!step()) return false;
    return true;
  }
  // Unpaced: frames until the paint's time is used, the threads' rounds between them.
  paced = false;
  do {
    if (!step()) return false;
    if (++unpacedSteps % framesBetweenReadBacks == 0) waitForDrawing();
    WebThread::runDueRounds();
    topUpAudio();
  } while (!application->framesPaced() && emscripten_get_now() - start < unpacedPaintMilliseconds);
  return true;
}

void WebMainLoop::watchSound() {
  const int state = audioState();
  if (state == 2) audioRan = true;
  // A context that starts a moment after the click, or resumes a moment
  // after the tab shows again, is no news: only one still held (suspended or
  // interrupted) after a second is, which a gesture may start.
  const double now = emscripten_get_now();
  if (state != 1) heldSince = now;
  const bool off = now - heldSince > soundNoteMilliseconds;
  if (off != soundNoteShown) {
    soundNoteShown = off;
    showSoundNote(off);
  }
}

void WebMainLoop::end() {
  emscripten_cancel_main_loop();
  stopTicking();
  if (soundNoteShown) showSoundNote(false);
  emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, nullptr);
  int status = application->getExitStatus();
  if (extension) status = extension->ended(*application, status);
  // The page may start another game: nothing of this one stays running, and
  // its WebGL context goes (the page gives the next game a canvas of its own).
  application.reset();
  if (const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_get_current_context())
    emscripten_webgl_destroy_context(context);
  tellPage(status);
  current.reset();
}

const char *WebMainLoop::stats() {
  static char json[512];
  std::string state;
  int x = 0, y = 0;
  bool standingIn = false, noteShown = false;
  if (current && current->application) {
    standingIn = current->application->isAudioStandingIn();
    noteShown = current->soundNoteShown;
    if (const boost::shared_ptr<GameState> game = current->application->getCurrentState())
      UTF8File::wstringToChar(game->getName(), state);
    SDL_GetMouseState(&x, &y);
  }
  static const char *const audioStates[] = {"none", "suspended", "running", "closed"};
  std::snprintf(json, sizeof json,
                "{\"steps\":%ld,\"audioBlocks\":%lld,\"loudBlocks\":%lld,\"peak\":%.6f,\"audioState\":\"%s\","
                "\"audioRan\":%s,\"standingIn\":%s,\"soundNote\":%s,\"state\":\"%s\",\"pointer\":{\"x\":%d,"
                "\"y\":%d},\"heapBytes\":%zu}",
                stepsTaken, static_cast<long long>(outputMeter.blocks()),
                static_cast<long long>(outputMeter.audibleBlocks()), outputMeter.peak(), audioStates[audioState()],
                audioRan ? "true" : "false", standingIn ? "true" : "false", noteShown ? "true" : "false",
                state.c_str(), x, y, emscripten_get_heap_size());
  return json;
}

extern "C" EMSCRIPTEN_KEEPALIVE const char *murmel_stats() { return WebMainLoop::stats(); }

void WebMainLoop::tick() {
  if (!current) return;
  topUpAudio();
  WebThread::runDueRounds();
  if (current && current->application) current->application->watchAudio();
}

extern "C" EMSCRIPTEN_KEEPALIVE void murmel_tick() { WebMainLoop::tick(); }

void WebMainLoop::resize(int width, int height) {
  if (current && current->application) current->application->resizeWindow(width, height);
}

extern "C" EMSCRIPTEN_KEEPALIVE void murmel_resize(int width, int height) { WebMainLoop::resize(width, height); }
