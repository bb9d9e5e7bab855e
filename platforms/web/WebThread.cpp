#include "platforms/web/WebThread.h"

#include <algorithm>

WebThread::WebCreator WebThread::creator;

WebThread::~WebThread() { stop(); }

std::vector<WebThread *> &WebThread::scheduled() {
  static std::vector<WebThread *> threads;
  return threads;
}

bool WebThread::isScheduled(const WebThread *thread) {
  const std::vector<WebThread *> &threads = scheduled();
  return std::find(threads.begin(), threads.end(), thread) != threads.end();
}

void WebThread::unschedule() {
  std::vector<WebThread *> &threads = scheduled();
  threads.erase(std::remove(threads.begin(), threads.end(), this), threads.end());
}

bool WebThread::createThread(Step body, const std::string &, void *bodyData) {
  if (started) return true;
  step = body;
  data = bodyData;
  // The first round comes with the next frame.
  due = Clock::now();
  started = true;
  scheduled().push_back(this);
  return true;
}

void WebThread::stop() {
  unschedule();
  started = false;
}

void WebThread::runDueRounds() {
  // A round may stop threads, its own or others, and start new ones: the
  // list as it stood is walked, and whatever left it meanwhile is passed over.
  const std::vector<WebThread *> threads = scheduled();
  for (WebThread *thread : threads) {
    if (!isScheduled(thread) || Clock::now() < thread->due) continue;
    const int wait = thread->step(thread->data);
    if (!isScheduled(thread)) continue;
    if (wait < 0)
      thread->unschedule();
    else
      thread->due = Clock::now() + std::chrono::milliseconds(wait);
  }
}

boost::shared_ptr<BackendThread> WebThread::WebCreator::createBackendThread() const {
  return boost::shared_ptr<BackendThread>(new WebThread());
}
