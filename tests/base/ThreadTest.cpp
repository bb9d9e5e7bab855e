#include "base/CriticalSection.h"
#include "platforms/desktop/SDL1.2CriticalSection.h"
#include "platforms/desktop/SDL1.2Thread.h"
#include "base/Thread.h"
#include "framework/app/Platform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// The factory pointers are process-wide and set once; tests that need them
// unset, or set to fakes, run in a child and report through the exit code. The
// child is the program started afresh, not a fork: earlier tests of the same
// run may have set the factories already.
#define EXPECT_IN_CHILD(body)                                                      \
  do {                                                                             \
    GTEST_FLAG_SET(death_test_style, "threadsafe");                                \
    EXPECT_EXIT({ std::exit((body) ? 0 : 1); }, ::testing::ExitedWithCode(0), ""); \
  } while (false)

// Counts its rounds, waiting waitMs between them, and ends itself after
// `rounds` rounds.
class CountingThread final : public Thread {
 public:
  explicit CountingThread(int rounds = 1, int waitMs = 0) : Thread("counting"), rounds(rounds), waitMs(waitMs) {
    started = startThread(this);
  }
  ~CountingThread() override { stopThread(); }
  int step() override {
    if (runs.fetch_add(1) == 0) firstOnMain = std::this_thread::get_id() == mainThread;
    return runs.load() >= rounds ? Finished : waitMs;
  }
  std::atomic<int> runs{0};
  std::atomic<bool> firstOnMain{true};
  bool started = false;

 private:
  const std::thread::id mainThread = std::this_thread::get_id();
  int rounds;
  int waitMs;
};

// A thread derived class that does not start itself.
class IdleThread final : public Thread {
 public:
  IdleThread() : Thread("idle") {}
  int step() override {
    ran = true;
    return Finished;
  }
  std::atomic<bool> ran{false};
};

class FakeThreadCreator final : public BackendThread::Creator {
 public:
  explicit FakeThreadCreator(int id) : id(id) {}
  boost::shared_ptr<BackendThread> createBackendThread() const override {
    lastUsed = id;
    return SDL1_2Thread::creator.createBackendThread();
  }
  static int lastUsed;

 private:
  int id;
};
int FakeThreadCreator::lastUsed = 0;

class FakeCritSecCreator final : public BackendCritSec::Creator {
 public:
  explicit FakeCritSecCreator(int id) : id(id) {}
  boost::shared_ptr<BackendCritSec> createBackendCritSec() const override {
    lastUsed = id;
    return SDL1_2CriticalSection::creator.createBackendCritSec();
  }
  static int lastUsed;

 private:
  int id;
};
int FakeCritSecCreator::lastUsed = 0;

class WithSdlBackends : public ::testing::Test {
 protected:
  void SetUp() override {
    Platform::install();
  }
};

}  // namespace

TEST(ThreadFactory, FirstInstalledThreadFactoryWins) {
  EXPECT_IN_CHILD(([] {
    FakeThreadCreator first(1), second(2);
    Thread::setBackendThreadCreator(&first);
    Thread::setBackendThreadCreator(&second);
    CountingThread thread;
    return thread.started && FakeThreadCreator::lastUsed == 1;
  }()));
}

TEST(ThreadFactory, WithoutFactoryThreadsDoNothing) {
  EXPECT_IN_CHILD(([] {
    IdleThread thread;
    // startThread without a back-end runs nothing and says so, and
    // destruction does not block.
    CountingThread counting;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return !thread.ran && !counting.started && counting.runs == 0;
  }()));
}

TEST(ThreadFactory, LastInstalledLockFactoryWinsAndNoneMeansNoLock) {
  EXPECT_IN_CHILD(([] {
    CriticalSection unguarded;
    const bool lockedWithoutFactory = unguarded.lock();
    unguarded.unlock();
    FakeCritSecCreator first(1), second(2);
    CriticalSection::setBackendCritSecCreator(&first);
    CriticalSection::setBackendCritSecCreator(&second);
    CriticalSection section;
    const bool locked = section.lock();
    section.unlock();
    return !lockedWithoutFactory && locked && FakeCritSecCreator::lastUsed == 2;
  }()));
}

TEST_F(WithSdlBackends, RoundsRunOnAnotherThreadUntilOneFinishes) {
  CountingThread thread(3, 20);
  ASSERT_TRUE(thread.started);
  for (int i = 0; i < 500 && thread.runs < 3; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(3, thread.runs.load());
  EXPECT_FALSE(thread.firstOnMain.load());
}

TEST_F(WithSdlBackends, StoppingLetsTheRoundFinishAndCutsTheWaitShort) {
  std::atomic<int> finished{0};
  class Sleeper final : public Thread {
   public:
    explicit Sleeper(std::atomic<int> &done) : Thread("sleeper"), done(done) { startThread(this); }
    ~Sleeper() override { stopThread(); }
    int step() override {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      done.fetch_add(1);
      // A minute: stopping must not wait it out.
      return 60000;
    }
    std::atomic<int> &done;
  };
  const auto before = std::chrono::steady_clock::now();
  { Sleeper sleeper(finished); }
  EXPECT_EQ(1, finished.load());
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(30));
}

TEST_F(WithSdlBackends, NeverStartedThreadDestroysAtOnce) {
  const auto before = std::chrono::steady_clock::now();
  { IdleThread thread; }
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
}

TEST_F(WithSdlBackends, SecondCreateThreadWhileRunningStartsNothing) {
  SDL1_2Thread backend;
  std::atomic<int> calls{0};
  auto body = [](void *data) -> int {
    static_cast<std::atomic<int> *>(data)->fetch_add(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return Thread::Finished;
  };
  EXPECT_TRUE(backend.createThread(body, "one", &calls));
  EXPECT_TRUE(backend.createThread(body, "two", &calls));
  backend.stop();
  EXPECT_EQ(1, calls.load());
  // Once stopped, the back-end can start again.
  EXPECT_TRUE(backend.createThread(body, "three", &calls));
  backend.stop();
  EXPECT_EQ(2, calls.load());
}

TEST_F(WithSdlBackends, CriticalSectionExcludesAndAnyThreadMayUnlock) {
  CriticalSection section;
  long shared = 0;
  class Adder final : public Thread {
   public:
    Adder(CriticalSection &section, long &shared) : Thread("adder"), section(section), shared(shared) {
      startThread(this);
    }
    ~Adder() override { stopThread(); }
    int step() override {
      for (int i = 0; i < 20000; ++i) {
        if (!section.lock()) return Finished;
        ++shared;
        section.unlock();
      }
      return Finished;
    }
    CriticalSection &section;
    long &shared;
  };
  { Adder a(section, shared), b(section, shared); }
  EXPECT_EQ(40000, shared);

  // A semaphore, not a mutex: another thread may release it.
  ASSERT_TRUE(section.lock());
  class Unlocker final : public Thread {
   public:
    explicit Unlocker(CriticalSection &section) : Thread("unlocker"), section(section) { startThread(this); }
    ~Unlocker() override { stopThread(); }
    int step() override {
      section.unlock();
      return Finished;
    }
    CriticalSection &section;
  };
  { Unlocker unlocker(section); }
  EXPECT_TRUE(section.lock());
  section.unlock();
}
