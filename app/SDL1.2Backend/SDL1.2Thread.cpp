#include "app/SDL1.2Backend/SDL1.2Thread.h"

#include <SDL/SDL_timer.h>

SDL1_2Thread::SDL1_2Creator SDL1_2Thread::creator;

SDL1_2Thread::~SDL1_2Thread() { waitToFinish(); }

bool SDL1_2Thread::createThread(int (*function)(void *), const std::string &, void *data) {
  // SDL 1.2 threads carry no name.
  if (!thread) thread = SDL_CreateThread(function, data);
  return thread != nullptr;
}

void SDL1_2Thread::waitToFinish() {
  if (thread) {
    SDL_WaitThread(thread, nullptr);
    thread = nullptr;
  }
}

boost::shared_ptr<BackendThread> SDL1_2Thread::SDL1_2Creator::createBackendThread() const {
  return boost::shared_ptr<BackendThread>(new SDL1_2Thread());
}

void SDL1_2Thread::SDL1_2Creator::wait(int milliseconds) const {
  SDL_Delay(static_cast<Uint32>(milliseconds < 0 ? 0 : milliseconds));
}
