#include "support/LibraryPins.h"

#include <dlfcn.h>
#include <link.h>

namespace {

int pinLoadedLibrary(struct dl_phdr_info *info, size_t, void *) {
  if (info->dlpi_name && info->dlpi_name[0] != '\0') dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD);
  return 0;
}

}  // namespace

void pinLoadedLibraries() { dl_iterate_phdr(pinLoadedLibrary, nullptr); }
