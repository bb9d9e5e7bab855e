#pragma once

// The program's entry: installs the SDL thread and lock back-ends, builds the
// application, hands it the command line and runs it. Returns the process's
// exit status: 0, or 1 when start-up failed.
int SDL_main(int argc, char *argv[]);
