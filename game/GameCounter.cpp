#include "game/GameCounter.h"

#include <algorithm>

void GameCounter::createCounter(const std::wstring &name) {
  if (counters.find(name) == counters.end()) counters[name] = boost::shared_ptr<Counter>(new Counter());
}

void GameCounter::incrementCount(const std::wstring &name, int amount) {
  createCounter(name);
  Counter &counter = *counters[name];
  counter.count += amount;
  // Listeners may register or unregister (themselves or others) while being
  // told: everyone registered when the count was reached hears it once.
  const int reached = counter.count;
  const std::vector<int> intervals = counter.intervals;
  const std::vector<CounterNotification *> notifications = counter.notifications;
  for (size_t i = 0; i < intervals.size() && i < notifications.size(); ++i) {
    if (reached % intervals[i] == 0) notifications[i]->countReached(name, reached);
  }
}

int GameCounter::getCount(const std::wstring &name) const {
  const auto it = counters.find(name);
  return it == counters.end() ? 0 : it->second->count;
}

int GameCounter::getScore() const {
  int score = 0;
  for (const auto &entry : counters) score += entry.second->count;
  return score;
}

void GameCounter::reset() {
  for (auto &entry : counters) entry.second->count = 0;
}

void GameCounter::registerNotification(const std::wstring &name, int interval, CounterNotification *notification) {
  createCounter(name);
  Counter &counter = *counters[name];
  counter.intervals.push_back(interval);
  counter.notifications.push_back(notification);
}

void GameCounter::unregisterNotification(const std::wstring &name, int interval, CounterNotification *notification) {
  const auto it = counters.find(name);
  if (it == counters.end()) return;
  Counter &counter = *it->second;
  const auto intervalAt = std::find(counter.intervals.begin(), counter.intervals.end(), interval);
  if (intervalAt != counter.intervals.end()) counter.intervals.erase(intervalAt);
  const auto notificationAt = std::find(counter.notifications.begin(), counter.notifications.end(), notification);
  if (notificationAt != counter.notifications.end()) counter.notifications.erase(notificationAt);
}
