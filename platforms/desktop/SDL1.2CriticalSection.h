#pragma once

#include "base/BackendCritSec.h"

#include <SDL/SDL_mutex.h>

// A critical section over an SDL semaphore of initial count 1.
class SDL1_2CriticalSection final : public BackendCritSec {
 public:
  SDL1_2CriticalSection();
  ~SDL1_2CriticalSection() override;

  SDL1_2CriticalSection(const SDL1_2CriticalSection &) = delete;
  SDL1_2CriticalSection &operator=(const SDL1_2CriticalSection &) = delete;

  bool lock() override;
  void unlock() override;

  class SDL1_2Creator final : public BackendCritSec::Creator {
   public:
    boost::shared_ptr<BackendCritSec> createBackendCritSec() const override;
  };

  static SDL1_2Creator creator;

 private:
  SDL_sem *semaphore;
};
