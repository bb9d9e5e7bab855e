#pragma once

#include "base/BackendCritSec.h"

// A critical section on the browser's one thread, where nothing runs beside
// the holder: the section is only marked as held. A held section could never
// be freed while its locker waited, so locking it again is refused (false)
// instead of hanging the page.
class WebCriticalSection final : public BackendCritSec {
 public:
  bool lock() override;
  void unlock() override { held = false; }

  class WebCreator final : public BackendCritSec::Creator {
   public:
    boost::shared_ptr<BackendCritSec> createBackendCritSec() const override;
  };

  static WebCreator creator;

 private:
  bool held = false;
};
