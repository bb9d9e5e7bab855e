#include "platforms/desktop/SDL1.2Thread.h"

SDL1_2Thread::SDL1_2Creator SDL1_2Thread::creator;

SDL1_2Thread::SDL1_2Thread() : lock(SDL_CreateMutex()), wake(SDL_CreateCond()) {}

SDL1_2Thread::~SDL1_2Thread() {
  stop();
  if (wake) SDL_DestroyCond(wake);
  if (lock) SDL_DestroyMutex(lock);
}

bool SDL1_2Thread::createThread(Step body, const std::string &, void *bodyData) {
  if (thread) return true;
  if (!lock || !wake) return false;
  step = body;
  data = bodyData;
  stopping = false;
  // SDL 1.2 threads carry no name.
  thread = SDL_CreateThread(runRounds, this);
  return thread != nullptr;
}

void SDL1_2Thread::stop() {
  if (!thread) return;
  SDL_mutexP(lock);
  stopping = true;
  SDL_CondSignal(wake);
  SDL_mutexV(lock);
  SDL_WaitThread(thread, nullptr);
  thread = nullptr;
}

int SDL1_2Thread::runRounds(void *self) {
  SDL1_2Thread &backend = *static_cast<SDL1_2Thread *>(self);
  for (;;) {
    const int wait = backend.step(backend.data);
    if (wait < 0) return 0;
    SDL_mutexP(backend.lock);
    // A wake-up before the time is up only brings the next round forward.
    if (!backend.stopping) SDL_CondWaitTimeout(backend.wake, backend.lock, static_cast<Uint32>(wait));
    const bool stopped = backend.stopping;
    SDL_mutexV(backend.lock);
    if (stopped) return 0;
  }
}

boost::shared_ptr<BackendThread> SDL1_2Thread::SDL1_2Creator::createBackendThread() const {
  return boost::shared_ptr<BackendThread>(new SDL1_2Thread());
}
