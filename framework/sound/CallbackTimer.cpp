#include "framework/sound/CallbackTimer.h"

#include "base/Assertion.h"

#include <algorithm>
#include <cmath>

CallbackTimer::CallbackTimer(std::size_t capacity) : calls(new Record[capacity]()), capacity(capacity) {}

void CallbackTimer::record(std::int64_t nanoseconds, int frames) {
  // One recording thread: nobody else moves the count on.
  const std::size_t index = recorded.load(std::memory_order_relaxed);
  if (index >= capacity) {
    dropped.fetch_add(1, std::memory_order_relaxed);
    return;
  }
  calls[index].nanoseconds = nanoseconds;
  calls[index].frames = frames;
  recorded.store(index + 1, std::memory_order_release);
}

std::vector<CallbackTimer::Record> CallbackTimer::records(std::size_t from, std::size_t to) const {
  to = std::min(to, recordedCount());
  if (from >= to) return {};
  return std::vector<Record>(calls.get() + from, calls.get() + to);
}

std::int64_t CallbackTimer::percentile(std::vector<std::int64_t> values, int perMille) {
  MW_ASSERT(perMille > 0 && perMille <= 1000);
  if (values.empty()) return 0;
  // Whole numbers throughout: 99.9 % of 1000 values is rank 999 exactly.
  const std::size_t rank = (values.size() * static_cast<std::size_t>(perMille) + 999) / 1000;
  const auto at = values.begin() + static_cast<std::ptrdiff_t>(rank - 1);
  std::nth_element(values.begin(), at, values.end());
  return *at;
}

CallbackTimer::Summary CallbackTimer::summarise(const std::vector<Record> &calls, double samplerate, int perMille) {
  MW_ASSERT(samplerate > 0.0);
  Summary summary;
  summary.count = calls.size();
  if (calls.empty()) return summary;
  std::vector<std::int64_t> durations;
  durations.reserve(calls.size());
  std::int64_t total = 0;
  int shortestBlock = calls.front().frames;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    const Record &call = calls[i];
    durations.push_back(call.nanoseconds);
    total += call.nanoseconds;
    if (call.nanoseconds > summary.worstNanoseconds) {
      summary.worstNanoseconds = call.nanoseconds;
      summary.worstCall = i;
    }
    shortestBlock = std::min(shortestBlock, call.frames);
    if (static_cast<double>(call.nanoseconds) > call.frames * 1e9 / samplerate) ++summary.lateCount;
  }
  summary.meanNanoseconds = total / static_cast<std::int64_t>(calls.size());
  summary.budgetNanoseconds = std::llround(shortestBlock * 1e9 / samplerate);
  summary.percentileNanoseconds = percentile(std::move(durations), perMille);
  return summary;
}
