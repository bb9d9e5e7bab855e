#pragma once

#include "app/BackendThread.h"

#include <boost/shared_ptr.hpp>
#include <string>

// A joinable thread that runs run() once. Derived classes call
// startThread(this) at the end of their constructor; their destructor makes
// run() return and then calls waitToFinish(), since by the time ~Thread
// joins, the derived part (and run() with it) is gone. A Thread made before a back-end factory is
// installed has no back-end and silently does nothing.
class Thread {
 public:
  // The first call wins; later calls are ignored.
  static void setBackendThreadCreator(BackendThread::Creator *creator);
  // Sleeps through the installed factory; returns at once without one.
  static void wait(int milliseconds);

  explicit Thread(const std::string &name);
  virtual ~Thread();

  Thread(const Thread &) = delete;
  Thread &operator=(const Thread &) = delete;

  // The thread's body; its result becomes the thread's exit status 0 or 1.
  virtual bool run() = 0;

  const std::string &getName() const { return name; }

 protected:
  void startThread(Thread *thread);
  // Joins the thread. Derived destructors call it once run() has been told
  // to return: joining before the derived part is destroyed is what makes
  // that destruction safe from the thread's side.
  void waitToFinish();

 private:
  static int threadMethod(void *data);

  // Written only during start-up, before a second thread exists.
  static BackendThread::Creator *backendThreadCreator;

  std::string name;
  boost::shared_ptr<BackendThread> backend;
};
