#include "app/WebBackend/WebMainLoop.h"

#include "app/CmdLineParams.h"
#include "app/SDL1.2Backend/SDL1.2Application.h"
#include "app/WebBackend/WebThread.h"

#include <SDL/SDL_audio.h>
#include <emscripten.h>
#include <emscripten/html5.h>

namespace {

// The game under way; none between games.
std::unique_ptr<WebMainLoop> current;

// Called inside the page's click: a browser that made SDL's audio context
// wait for a gesture lets it start now.
void resumeAudio() {
  EM_ASM({
    if (typeof SDL != 'undefined' && SDL.audioContext && SDL.audioContext['state'] == 'suspended')
      SDL.audioContext['resume']();
  });
}

void tellPage(int status) {
  EM_ASM(
      {
        if (Module['onGameEnd']) Module['onGameEnd']($0);
      },
      status);
}

// SDL's Web Audio device keeps asking for sound on timers of its own, which a
// hidden tab slows down and which the streaming rounds (they need paints)
// would not keep up with: it pauses while the game does.
EM_BOOL visibilityChanged(int, const EmscriptenVisibilityChangeEvent *event, void *) {
  SDL_PauseAudio(event->hidden ? 1 : 0);
  return EM_FALSE;
}

}  // namespace

bool WebMainLoop::run(const std::vector<std::wstring> &arguments) {
  current.reset(new WebMainLoop());
  WebMainLoop &loop = *current;
  loop.application.reset(new SDL1_2Application());
  {
    CmdLineParams params(arguments);
    loop.application->initialise(params);
  }
  if (loop.application->getExitStatus() != 0) {
    loop.end();
    return false;
  }
  resumeAudio();
  emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, visibilityChanged);
  // Paced by the browser's paints; this call does not return.
  emscripten_set_main_loop_arg(frame, &loop, 0, true);
  return true;
}

void WebMainLoop::frame(void *self) {
  WebMainLoop &loop = *static_cast<WebMainLoop *>(self);
  WebThread::runDueRounds();
  const int steps = loop.pacer.stepsAt(emscripten_get_now() / 1000.0);
  for (int i = 0; i < steps; ++i) {
    if (!loop.application->runFrame()) {
      loop.end();
      return;
    }
  }
}

void WebMainLoop::end() {
  emscripten_cancel_main_loop();
  emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, nullptr);
  const int status = application->getExitStatus();
  // The page may start another game: nothing of this one stays running, and
  // its WebGL context goes (the page gives the next game a canvas of its own).
  application.reset();
  if (const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_get_current_context())
    emscripten_webgl_destroy_context(context);
  tellPage(status);
  current.reset();
}
