#include <cstdio>

// The process entry. The application shell is not built yet: say so and
// fail rather than pretend to run.
int main() {
  std::fprintf(stderr, "Murmel Worlds: the application shell is not built yet\n");
  return 1;
}
