#pragma once

#include <string>

// Sets or unsets one environment variable for the scope, then restores it.
class ScopedEnv {
 public:
  ScopedEnv(const char *name, const char *value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv &) = delete;
  ScopedEnv &operator=(const ScopedEnv &) = delete;

 private:
  std::string name;
  std::string saved;
  bool wasSet;
};
