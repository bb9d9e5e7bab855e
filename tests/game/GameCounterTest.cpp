#include "game/GameCounter.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

class Recorder final : public CounterNotification {
 public:
  void countReached(const std::wstring &name, int count) override { heard.emplace_back(name, count); }
  std::vector<std::pair<std::wstring, int>> heard;
};

std::vector<int> counts(const Recorder &recorder) {
  std::vector<int> result;
  for (const auto &entry : recorder.heard) result.push_back(entry.second);
  return result;
}

}  // namespace

TEST(GameCounter, NotifiesOnMultiplesOfTheInterval) {
  GameCounter counter;
  Recorder byOne, byTwo;
  counter.registerNotification(L"ones", 5, &byOne);
  counter.registerNotification(L"twos", 5, &byTwo);
  for (int i = 0; i < 15; ++i) counter.incrementCount(L"ones", 1);
  for (int i = 0; i < 10; ++i) counter.incrementCount(L"twos", 2);
  EXPECT_EQ((std::vector<int>{5, 10, 15}), counts(byOne));
  EXPECT_EQ((std::vector<int>{10, 20}), counts(byTwo));
  EXPECT_EQ(L"twos", byTwo.heard[0].first);
  EXPECT_EQ(35, counter.getScore());
}

TEST(GameCounter, NegativeMultiplesAndZeroIncrementsNotify) {
  GameCounter counter;
  Recorder recorder;
  counter.registerNotification(L"c", 3, &recorder);
  counter.incrementCount(L"c", -3);
  counter.incrementCount(L"c", 0);
  counter.incrementCount(L"c", 1);
  EXPECT_EQ((std::vector<int>{-3, -3}), counts(recorder));
  counter.reset();
  EXPECT_EQ(0, counter.getCount(L"c"));
  counter.incrementCount(L"c", 0);
  EXPECT_EQ((std::vector<int>{-3, -3, 0}), counts(recorder));
}

TEST(GameCounter, WhichOperationsCreateCounters) {
  GameCounter counter;
  EXPECT_EQ(0, counter.getCount(L"missing"));
  counter.incrementCount(L"a", 4);
  counter.createCounter(L"a");  // an existing counter keeps its count
  EXPECT_EQ(4, counter.getCount(L"a"));
  Recorder recorder;
  counter.registerNotification(L"b", 2, &recorder);
  counter.unregisterNotification(L"never", 2, &recorder);
  EXPECT_EQ(0, counter.getCount(L"b"));
  counter.incrementCount(L"b", 2);
  EXPECT_EQ(1u, recorder.heard.size());
  EXPECT_EQ(6, counter.getScore());
}

TEST(GameCounter, ResetKeepsListenersAndUnregisterRemovesFirstMatches) {
  GameCounter counter;
  Recorder first, second;
  counter.registerNotification(L"c", 2, &first);
  counter.registerNotification(L"c", 4, &second);
  counter.registerNotification(L"c", 4, &first);
  counter.incrementCount(L"c", 4);
  EXPECT_EQ(2u, first.heard.size());
  EXPECT_EQ(1u, second.heard.size());

  // Interval and listener are searched separately: removing (4, first)
  // drops the first 4 and the first "first", leaving (2, second), (4, first).
  counter.unregisterNotification(L"c", 4, &first);
  counter.reset();
  counter.incrementCount(L"c", 2);
  EXPECT_EQ(2u, first.heard.size());
  EXPECT_EQ(2u, second.heard.size());
  counter.incrementCount(L"c", 2);
  EXPECT_EQ(3u, first.heard.size());
  EXPECT_EQ(3u, second.heard.size());
}

TEST(GameCounter, EveryListenerRegisteredWhenReachedHearsItOnce) {
  // A listener that changes the listeners from inside its notification.
  class Meddler final : public CounterNotification {
   public:
    explicit Meddler(std::function<void()> act) : act(std::move(act)) {}
    void countReached(const std::wstring &, int count) override {
      heard.push_back(count);
      act();
    }
    std::function<void()> act;
    std::vector<int> heard;
  };
  struct Case {
    const char *what;
    std::vector<int> meddlerHears, laterHears, newcomerHears;
  };
  const Case cases[] = {
      {"unregisters itself", {3}, {3, 6}, {}},
      {"unregisters the later listener", {3, 6}, {3}, {}},
      {"registers a newcomer", {3, 6}, {3, 6}, {6}},
  };
  for (const Case &c : cases) {
    GameCounter counter;
    Recorder later, newcomer;
    const std::string what = c.what;
    Meddler meddler([&] {
      if (what == "unregisters itself") counter.unregisterNotification(L"c", 3, &meddler);
      if (what == "unregisters the later listener") counter.unregisterNotification(L"c", 3, &later);
      if (what == "registers a newcomer" && newcomer.heard.empty() && counter.getCount(L"c") == 3)
        counter.registerNotification(L"c", 3, &newcomer);
    });
    counter.registerNotification(L"c", 3, &meddler);
    counter.registerNotification(L"c", 3, &later);
    counter.incrementCount(L"c", 3);
    counter.incrementCount(L"c", 3);
    EXPECT_EQ(c.meddlerHears, meddler.heard) << c.what;
    EXPECT_EQ(c.laterHears, counts(later)) << c.what;
    EXPECT_EQ(c.newcomerHears, counts(newcomer)) << c.what;
  }
}
