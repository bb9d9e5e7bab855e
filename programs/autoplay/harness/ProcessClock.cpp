#include "harness/ProcessClock.h"

#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <sstream>
#include <string>

namespace {

// The process's start in seconds since boot, or a negative value.
double startSinceBoot() {
  std::FILE *file = std::fopen("/proc/self/stat", "r");
  if (!file) return -1.0;
  char line[1024] = {};
  const size_t length = std::fread(line, 1, sizeof line - 1, file);
  std::fclose(file);
  line[length] = '\0';
  // The command name in parentheses may hold spaces; the fields after it do not.
  const char *afterName = std::strrchr(line, ')');
  if (!afterName) return -1.0;
  std::istringstream fields(afterName + 1);
  std::string field;
  // The start time is the 22nd field; the one after the name is the 3rd.
  for (int index = 3; index <= 22; ++index)
    if (!(fields >> field)) return -1.0;
  return std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace

double ProcessClock::secondsSinceStart() {
  static const auto firstCall = std::chrono::steady_clock::now();
  const double start = startSinceBoot();
  timespec now{};
  if (start < 0.0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0)
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - firstCall).count();
  return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9 - start;
}
