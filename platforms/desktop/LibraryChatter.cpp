#include "platforms/desktop/LibraryChatter.h"

#include <cstdarg>
// After <cstdarg>: it uses va_list without including it.
#include <alsa/error.h>
#include <dlfcn.h>
#include <jack/jack.h>
#include <cstdlib>
#include <cstring>

namespace {

void ignoreAlsa(const char *, int, const char *, int, const char *, ...) {}

void ignoreJack(const char *) {}

void ignoreWayland(const char *, va_list) {}

// JACK comes in with PortAudio, which links it; the program itself does not.
void quietenJack() {
  if (auto set = reinterpret_cast<decltype(&jack_set_error_function)>(dlsym(RTLD_DEFAULT, "jack_set_error_function")))
    set(ignoreJack);
  if (auto set = reinterpret_cast<decltype(&jack_set_info_function)>(dlsym(RTLD_DEFAULT, "jack_set_info_function")))
    set(ignoreJack);
}

// SDL opens the Wayland client library itself, and only when it probes for
// a session; opened here first, it is the same library SDL then finds, with
// its log hook already set. The handle stays open for the life of the process.
void quietenWayland() {
  void *library = dlopen("libwayland-client.so.0", RTLD_NOW | RTLD_LOCAL);
  if (!library) return;
  using SetHandler = void (*)(void (*)(const char *, va_list));
  if (auto set = reinterpret_cast<SetHandler>(dlsym(library, "wl_log_set_handler_client"))) set(ignoreWayland);
}

}  // namespace

bool LibraryChatter::debugging() {
  const char *value = std::getenv("MURMEL_WORLDS_DEBUG");
  return value && *value && std::strcmp(value, "0") != 0;
}

void LibraryChatter::quietenUnlessDebugging() {
  if (debugging()) return;
  snd_lib_error_set_handler(ignoreAlsa);
  quietenJack();
  quietenWayland();
}
