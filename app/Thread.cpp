#include "app/Thread.h"

BackendThread::Creator *Thread::backendThreadCreator = nullptr;

void Thread::setBackendThreadCreator(BackendThread::Creator *creator) {
  if (!backendThreadCreator) backendThreadCreator = creator;
}

void Thread::wait(int milliseconds) {
  if (backendThreadCreator) backendThreadCreator->wait(milliseconds);
}

Thread::Thread(const std::string &name) : name(name) {
  if (backendThreadCreator) backend = backendThreadCreator->createBackendThread();
}

Thread::~Thread() {
  if (backend) backend->waitToFinish();
  backend.reset();
}

void Thread::startThread(Thread *thread) {
  if (backend) backend->createThread(Thread::threadMethod, name, thread);
}

void Thread::waitToFinish() {
  if (backend) backend->waitToFinish();
}

int Thread::threadMethod(void *data) { return static_cast<Thread *>(data)->run() ? 1 : 0; }
