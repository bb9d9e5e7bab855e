#pragma once

#include <boost/shared_ptr.hpp>
#include <string>

// The platform side of a Thread: starts one thread and joins it.
class BackendThread {
 public:
  virtual ~BackendThread() = default;
  // Starts function(data) on a new thread unless one is running already
  // (then starts nothing and returns true). False when starting failed.
  virtual bool createThread(int (*function)(void *), const std::string &name, void *data) = 0;
  // Joins the running thread, if any.
  virtual void waitToFinish() = 0;

  // The back-end factory that start-up installs once (Thread::setBackendThreadCreator).
  class Creator {
   public:
    virtual ~Creator() = default;
    virtual boost::shared_ptr<BackendThread> createBackendThread() const = 0;
    virtual void wait(int milliseconds) const = 0;
  };
};
