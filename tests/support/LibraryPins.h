#pragma once

// Takes one more reference on every shared object loaded so far. SDL and Mesa
// unload the libraries they opened when a window goes: a leak report at exit
// would then show their allocations as "unknown module" frames that no
// suppression can name, and ThreadSanitizer stops when a library its
// suppressions name is unloaded. Pinned, they stay loaded to the end.
void pinLoadedLibraries();
