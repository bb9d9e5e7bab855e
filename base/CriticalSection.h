#pragma once

#include "base/BackendCritSec.h"

#include <boost/shared_ptr.hpp>

// A lock over a semaphore of count 1: not recursive (locking twice from one
// thread blocks for ever), and any thread may unlock it. Callers pair lock()
// and unlock() themselves. Without an installed factory it locks nothing and
// lock() returns false.
class CriticalSection {
 public:
  // The last call wins.
  static void setBackendCritSecCreator(BackendCritSec::Creator *creator);

  CriticalSection();
  ~CriticalSection() = default;

  CriticalSection(const CriticalSection &) = delete;
  CriticalSection &operator=(const CriticalSection &) = delete;

  bool lock();
  void unlock();

 private:
  // Written only during start-up, before a second thread exists.
  static BackendCritSec::Creator *backendCritSecCreator;

  boost::shared_ptr<BackendCritSec> backend;
};
