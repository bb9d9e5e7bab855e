#include "platforms/desktop/SDL1.2CriticalSection.h"

SDL1_2CriticalSection::SDL1_2Creator SDL1_2CriticalSection::creator;

SDL1_2CriticalSection::SDL1_2CriticalSection() : semaphore(SDL_CreateSemaphore(1)) {}

SDL1_2CriticalSection::~SDL1_2CriticalSection() {
  if (semaphore) SDL_DestroySemaphore(semaphore);
}

bool SDL1_2CriticalSection::lock() { return semaphore && SDL_SemWait(semaphore) == 0; }

void SDL1_2CriticalSection::unlock() {
  if (semaphore) SDL_SemPost(semaphore);
}

boost::shared_ptr<BackendCritSec> SDL1_2CriticalSection::SDL1_2Creator::createBackendCritSec() const {
  return boost::shared_ptr<BackendCritSec>(new SDL1_2CriticalSection());
}
