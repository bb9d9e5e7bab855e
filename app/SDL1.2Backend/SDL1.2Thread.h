#pragma once

#include "app/BackendThread.h"

#include <SDL/SDL_thread.h>

// Threads over SDL: SDL_CreateThread and SDL_WaitThread.
class SDL1_2Thread final : public BackendThread {
 public:
  SDL1_2Thread() = default;
  ~SDL1_2Thread() override;

  bool createThread(int (*function)(void *), const std::string &name, void *data) override;
  void waitToFinish() override;

  class SDL1_2Creator final : public BackendThread::Creator {
   public:
    boost::shared_ptr<BackendThread> createBackendThread() const override;
    void wait(int milliseconds) const override;
  };

  static SDL1_2Creator creator;

 private:
  // Null when no thread is running.
  SDL_Thread *thread = nullptr;
};
