#pragma once

#include <string>

// Told by a GameCounter when a counter lands on a multiple of an interval.
class CounterNotification {
 public:
  virtual ~CounterNotification() = default;
  virtual void countReached(const std::wstring &counterName, int count) = 0;
};
