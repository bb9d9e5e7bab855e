#pragma once

#include "game/CounterNotification.h"

#include <boost/shared_ptr.hpp>
#include <map>
#include <string>
#include <vector>

// Named integer counters whose sum is the score. A listener registered with
// an interval hears of every increment that leaves its counter on a multiple
// of that interval (an increment by 0 included). Intervals must not be 0.
class GameCounter {
 public:
  void createCounter(const std::wstring &name);
  void incrementCount(const std::wstring &name, int amount);
  // 0 for a name without a counter; creates nothing.
  int getCount(const std::wstring &name) const;
  int getScore() const;
  // Every count back to 0; counters and listeners stay.
  void reset();
  void registerNotification(const std::wstring &name, int interval, CounterNotification *notification);
  // Removes the first equal interval and the first equal listener of a known counter.
  void unregisterNotification(const std::wstring &name, int interval, CounterNotification *notification);

  struct Counter {
    int count = 0;
    std::vector<int> intervals;
    // Parallel to intervals; not owned.
    std::vector<CounterNotification *> notifications;
  };

 private:
  std::map<std::wstring, boost::shared_ptr<Counter>> counters;
};
