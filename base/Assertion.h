#pragma once

// Programming errors stop the program with one line on standard error,
// "<source>:<line>: failed assertion `<expression>'", then abort. Assertions
// stay on in every build: they guard invariants, not hot loops.
#define MW_ASSERT(expression) ((expression) ? static_cast<void>(0) : failAssertion(__FILE__, __LINE__, #expression))

// The source path as the message shows it: relative to its subsystem,
// without extension ("platforms/SDL1.2Backend/SDL1.2Application.cpp" ->
// "SDL1.2Backend/SDL1.2Application", "platforms/desktop/drawing/GLImmediateDrawer.cpp"
// -> "drawing/GLImmediateDrawer", "game/LoadingScreen.cpp" -> "LoadingScreen").
// Exposed for tests.
void assertionSourceName(const char *file, char *out, unsigned outSize);

[[noreturn]] void failAssertion(const char *file, unsigned line, const char *expression);
