#include "framework/sound/CallbackTimer.h"

#include <gtest/gtest.h>

#include <thread>

TEST(CallbackTimer, PercentileIsTheNearestRank) {
  const struct {
    std::vector<std::int64_t> values;
    int perMille;
    std::int64_t expected;
  } cases[] = {
      {{}, 999, 0},           {{7}, 999, 7},           {{5, 1, 4, 2, 3}, 500, 3},
      {{4, 1, 3, 2}, 500, 2}, {{4, 1, 3, 2}, 1000, 4}, {{4, 1, 3, 2}, 1, 1},
  };
  for (const auto &c : cases)
    EXPECT_EQ(c.expected, CallbackTimer::percentile(c.values, c.perMille)) << c.values.size() << " values";

  // 99.9 % of 1000 calls is the 999th: one call may be slower. Of 1001 the
  // 1000th, of 999 the slowest.
  for (const std::size_t count : {999, 1000, 1001, 2000}) {
    std::vector<std::int64_t> values;
    for (std::size_t i = count; i > 0; --i) values.push_back(static_cast<std::int64_t>(i));
    const std::size_t rank = count == 999 ? 999 : count == 1000 ? 999 : count == 1001 ? 1000 : 1998;
    EXPECT_EQ(static_cast<std::int64_t>(rank), CallbackTimer::percentile(values, 999)) << count << " values";
  }
}

TEST(CallbackTimer, SummaryCountsCallsLongerThanTheirBlockAsLate) {
  // At 1000 Hz a block of 100 frames plays for 100 ms, one of 50 for 50 ms.
  const std::vector<CallbackTimer::Record> calls = {
      {10'000'000, 100}, {100'000'000, 100}, {100'000'001, 100}, {60'000'000, 50}, {30'000'000, 50}};
  const CallbackTimer::Summary summary = CallbackTimer::summarise(calls, 1000.0, 999);
  EXPECT_EQ(5u, summary.count);
  EXPECT_EQ(2u, summary.lateCount);
  EXPECT_EQ(100'000'001, summary.worstNanoseconds);
  EXPECT_EQ(2u, summary.worstCall);
  EXPECT_EQ(100'000'001, summary.percentileNanoseconds);
  EXPECT_EQ(60'000'000, summary.meanNanoseconds);
  EXPECT_EQ(50'000'000, summary.budgetNanoseconds);
  EXPECT_EQ(0u, CallbackTimer::summarise({}, 44100.0, 999).count);
}

// One thread records while another reads: every record read is complete
// (TSan checks the hand-off), and calls past the capacity are only counted.
TEST(CallbackTimer, RecordsFromAnotherThreadWhileBeingRead) {
  const std::size_t capacity = 20000;
  CallbackTimer timer(capacity);
  std::thread audio([&] {
    for (std::size_t i = 0; i < capacity + 5; ++i) timer.record(static_cast<std::int64_t>(i) * 3, static_cast<int>(i));
  });
  std::size_t checked = 0;
  while (checked < capacity) {
    for (const CallbackTimer::Record &call : timer.records(checked, capacity)) {
      ASSERT_EQ(static_cast<std::int64_t>(checked) * 3, call.nanoseconds);
      ASSERT_EQ(static_cast<int>(checked), call.frames);
      ++checked;
    }
  }
  audio.join();
  EXPECT_EQ(capacity, timer.recordedCount());
  EXPECT_EQ(5u, timer.droppedCount());
  EXPECT_TRUE(timer.records(capacity, capacity + 5).empty());
}
