#pragma once

// Programming errors stop the program with one line on standard error,
// "<source>:<line>: failed assertion `<expression>'", then abort. Assertions
// stay on in every build: they guard invariants, not hot loops.
#define MW_ASSERT(expression) ((expression) ? static_cast<void>(0) : failAssertion(__FILE__, __LINE__, #expression))

// The source path as the message shows it: relative to the source root,
// without extension, and without the "app/" and "game/" folders
// ("app/SDL1.2Backend/SDL1.2Thread.cpp" -> "SDL1.2Backend/SDL1.2Thread").
// Exposed for tests.
void assertionSourceName(const char *file, char *out, unsigned outSize);

[[noreturn]] void failAssertion(const char *file, unsigned line, const char *expression);
