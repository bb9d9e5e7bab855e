#pragma once

#include "base/BackendThread.h"

#include <chrono>
#include <vector>

// Threads in the browser, which gives a page one thread: the main loop runs
// the rounds of every started Thread between frames, each once its wait is
// over (runDueRounds). A round that asks for no wait runs again at the next
// call, never twice in one. Main thread only.
class WebThread final : public BackendThread {
 public:
  WebThread() = default;
  ~WebThread() override;

  WebThread(const WebThread &) = delete;
  WebThread &operator=(const WebThread &) = delete;

  bool createThread(Step step, const std::string &name, void *data) override;
  // No round is under way on the one thread when this runs (unless a round
  // stops its own thread): it only takes the thread off the list.
  void stop() override;

  // The main loop: one round of each started thread whose wait is over.
  static void runDueRounds();

  class WebCreator final : public BackendThread::Creator {
   public:
    boost::shared_ptr<BackendThread> createBackendThread() const override;
  };

  static WebCreator creator;

 private:
  using Clock = std::chrono::steady_clock;

  // The threads whose rounds go on, in starting order.
  static std::vector<WebThread *> &scheduled();
  static bool isScheduled(const WebThread *thread);
  void unschedule();

  Step step = nullptr;
  void *data = nullptr;
  Clock::time_point due;
  // Started and not stopped since, whether or not its rounds have ended.
  bool started = false;
};
