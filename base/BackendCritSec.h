#pragma once

#include <boost/shared_ptr.hpp>

// The platform side of a CriticalSection: a counting semaphore of 1.
class BackendCritSec {
 public:
  virtual ~BackendCritSec() = default;
  // Blocks until the section is free; false when it cannot be locked at all.
  virtual bool lock() = 0;
  virtual void unlock() = 0;

  // The back-end factory that start-up installs (CriticalSection::setBackendCritSecCreator).
  class Creator {
   public:
    virtual ~Creator() = default;
    virtual boost::shared_ptr<BackendCritSec> createBackendCritSec() const = 0;
  };
};
