#pragma once

#include "support/ScopedEnv.h"
#include "support/TempDir.h"

#include <string>

// A fresh data-files folder holding an empty "sounds" folder, found by the
// game through $MURMEL_WORLDS_DATA for the scope: the catalogue then names
// all eighteen sound files, none of which exists.
class DataFolder {
 public:
  DataFolder();

  const TempDir &dir() const { return root; }

 private:
  TempDir root;
  ScopedEnv data;
};
