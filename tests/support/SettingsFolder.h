#pragma once

#include "support/ScopedEnv.h"
#include "support/TempDir.h"

#include <string>

// Points the application-data folder at a fresh temporary folder, so
// "config.txt" and "keyconfig.txt" live in <temp>/Murmel Worlds/.
class SettingsFolder {
 public:
  SettingsFolder() : config("XDG_CONFIG_HOME", root.path().c_str()) {}

  std::string folder() const { return root.path() + "/Murmel Worlds"; }
  std::string file(const std::string &name) const { return folder() + "/" + name; }
  void write(const std::string &name, const std::string &bytes) const;
  std::string read(const std::string &name) const;
  bool exists(const std::string &name) const;

 private:
  TempDir root;
  ScopedEnv config;
};
