#pragma once

#include "base/BackendThread.h"

#include <boost/shared_ptr.hpp>
#include <string>

// A thread whose body is a series of rounds: step() runs, the thread waits
// as long as that round asked, step() runs again, until a round returns
// Finished or the owner stops the thread. On the desktop every Thread is a
// thread of its own; in the browser, which has one thread, the main loop runs
// the rounds that are due between frames. So a round returns promptly and
// never waits for another thread; waiting is what its result is for.
//
// Derived classes call startThread(this) (at the end of their constructor,
// or later) and stopThread() first thing in their destructor: by the time
// ~Thread stops the rounds, the derived part (and step() with it) is gone. A
// Thread made before a back-end factory is installed has no back-end and
// silently does nothing.
class Thread {
 public:
  // What step() returns to end the thread.
  static constexpr int Finished = -1;

  // The first call wins; later calls are ignored.
  static void setBackendThreadCreator(BackendThread::Creator *creator);

  explicit Thread(const std::string &name);
  virtual ~Thread();

  Thread(const Thread &) = delete;
  Thread &operator=(const Thread &) = delete;

  // One round of the thread's work, on the thread: the milliseconds to wait
  // before the next round (0: at once), or Finished.
  virtual int step() = 0;

  const std::string &getName() const { return name; }

 protected:
  // Starts the rounds; false without a back-end or when the thread cannot
  // start. Rounds already started and not stopped go on, and that is true.
  bool startThread(Thread *thread);
  // Ends the rounds (see BackendThread::stop); the thread may be started
  // again afterwards.
  void stopThread();

 private:
  static int stepMethod(void *data);

  // Written only during start-up, before a second thread exists.
  static BackendThread::Creator *backendThreadCreator;

  std::string name;
  boost::shared_ptr<BackendThread> backend;
};
