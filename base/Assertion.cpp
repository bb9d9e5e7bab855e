#include "base/Assertion.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

void assertionSourceName(const char *file, char *out, unsigned outSize) {
  if (outSize == 0) return;
  const char *start = file;
  // First the layer (and the platform's own folder), then the shell's "app/":
  // a source is named as within its subsystem, wherever its layer keeps it.
  const auto dropFirstOf = [&start](std::initializer_list<const char *> prefixes) {
    for (const char *prefix : prefixes) {
      const size_t length = std::strlen(prefix);
      if (std::strncmp(start, prefix, length) == 0) {
        start += length;
        return;
      }
    }
  };
  dropFirstOf({"base/", "framework/", "platforms/desktop/", "platforms/web/", "platforms/", "game/", "programs/"});
  dropFirstOf({"app/"});
  // The extension is the part after the last full stop of the last component.
  const char *slash = std::strrchr(start, '/');
  const char *dot = std::strrchr(slash ? slash : start, '.');
  size_t length = dot ? static_cast<size_t>(dot - start) : std::strlen(start);
  if (length >= outSize) length = outSize - 1;
  std::memcpy(out, start, length);
  out[length] = '\0';
}

void failAssertion(const char *file, unsigned line, const char *expression) {
  char source[512];
  assertionSourceName(file, source, sizeof source);
  std::fprintf(stderr, "%s:%u: failed assertion `%s'\n", source, line, expression);
  std::fflush(stderr);
  std::abort();
}
