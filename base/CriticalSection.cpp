#include "base/CriticalSection.h"

BackendCritSec::Creator *CriticalSection::backendCritSecCreator = nullptr;

void CriticalSection::setBackendCritSecCreator(BackendCritSec::Creator *creator) { backendCritSecCreator = creator; }

CriticalSection::CriticalSection() {
  if (backendCritSecCreator) backend = backendCritSecCreator->createBackendCritSec();
}

bool CriticalSection::lock() { return backend ? backend->lock() : false; }

void CriticalSection::unlock() {
  if (backend) backend->unlock();
}
