#include "support/DataFolder.h"

#include <sys/stat.h>

DataFolder::DataFolder() : data("MURMEL_WORLDS_DATA", root.path().c_str()) {
  ::mkdir((root.path() + "/sounds").c_str(), 0775);
}
