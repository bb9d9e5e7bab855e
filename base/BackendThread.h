#pragma once

#include <boost/shared_ptr.hpp>
#include <string>

// The platform side of a Thread: runs one thread's rounds and ends them.
class BackendThread {
 public:
  // One round: the milliseconds to wait before the next, or a negative
  // number when the thread is done.
  typedef int (*Step)(void *data);

  virtual ~BackendThread() = default;
  // Starts running step(data) round after round unless rounds were started
  // and not stopped since (then starts nothing and returns true). False when
  // starting failed.
  virtual bool createThread(Step step, const std::string &name, void *data) = 0;
  // Ends the rounds: a round under way finishes, a wait between rounds is cut
  // short, and no round starts after this returns. Does nothing when none
  // was started. The back-end can start again afterwards.
  virtual void stop() = 0;

  // The back-end factory that start-up installs once (Thread::setBackendThreadCreator).
  class Creator {
   public:
    virtual ~Creator() = default;
    virtual boost::shared_ptr<BackendThread> createBackendThread() const = 0;
  };
};
