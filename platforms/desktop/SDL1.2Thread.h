#pragma once

#include "base/BackendThread.h"

#include <SDL/SDL_mutex.h>
#include <SDL/SDL_thread.h>

// Threads over SDL: each Thread's rounds on an SDL thread of its own, the
// waits between them on a condition that stop() signals.
class SDL1_2Thread final : public BackendThread {
 public:
  SDL1_2Thread();
  ~SDL1_2Thread() override;

  SDL1_2Thread(const SDL1_2Thread &) = delete;
  SDL1_2Thread &operator=(const SDL1_2Thread &) = delete;

  bool createThread(Step step, const std::string &name, void *data) override;
  void stop() override;

  class SDL1_2Creator final : public BackendThread::Creator {
   public:
    boost::shared_ptr<BackendThread> createBackendThread() const override;
  };

  static SDL1_2Creator creator;

 private:
  // The thread's body: rounds and waits until a round ends it or stop() does.
  static int runRounds(void *self);

  // Null when no thread was started since the last stop().
  SDL_Thread *thread = nullptr;
  // Set before the thread starts; read only by it.
  Step step = nullptr;
  void *data = nullptr;
  // Guards stopping; the wait between rounds sleeps on wake.
  SDL_mutex *lock;
  SDL_cond *wake;
  bool stopping = false;
};
