#include "base/Thread.h"

BackendThread::Creator *Thread::backendThreadCreator = nullptr;

void Thread::setBackendThreadCreator(BackendThread::Creator *creator) {
  if (!backendThreadCreator) backendThreadCreator = creator;
}

Thread::Thread(const std::string &name) : name(name) {
  if (backendThreadCreator) backend = backendThreadCreator->createBackendThread();
}

Thread::~Thread() {
  if (backend) backend->stop();
  backend.reset();
}

bool Thread::startThread(Thread *thread) { return backend && backend->createThread(Thread::stepMethod, name, thread); }

void Thread::stopThread() {
  if (backend) backend->stop();
}

int Thread::stepMethod(void *data) { return static_cast<Thread *>(data)->step(); }
