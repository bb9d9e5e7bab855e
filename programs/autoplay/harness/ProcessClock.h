#pragma once

// The time since this process began, as the kernel counts it: from the
// moment it was created, before the program and its libraries were loaded.
class ProcessClock {
 public:
  // Seconds since the process started, to the kernel's clock tick (10 ms on
  // most systems, rounded down at the start); the time since the first call
  // where the kernel's record cannot be read.
  static double secondsSinceStart();
};
