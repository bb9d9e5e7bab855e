#pragma once

#include "base/UTF8File.h"

#include <map>
#include <string>

class CmdLineParams;

// "config.txt": the settings of the first run, keyed by the parameters'
// short forms ("-w 1280"). Read when built; written when destroyed, and only
// if the file did not exist then, so hand edits are never overwritten.
class ConfigFile {
 public:
  explicit ConfigFile(const CmdLineParams &params);
  ~ConfigFile();

  ConfigFile(const ConfigFile &) = delete;
  ConfigFile &operator=(const ConfigFile &) = delete;

  void setParameterValue(const std::wstring &key, const std::wstring &value);
  // A key never set reads as "" (and is added with that value).
  const std::wstring &getParameterValue(const std::wstring &key);
  bool existed() const { return fileExisted; }

  // <app data>/Murmel Worlds; empty when no home folder is known, and
  // settings are then neither read nor written.
  static FilePath settingsFolder();
  // <app data>/Murmel Worlds/<name>; empty when settingsFolder() is.
  static FilePath settingsFilePath(const std::wstring &name);
  // Makes the application-data folder itself when a fresh account has none
  // yet (~/.config); the settings folder inside it is made on first write.
  static void prepareSettingsFolder();

 private:
  void read();

  FilePath path;
  UTF8File file;
  std::map<std::wstring, std::wstring> values;
  bool fileExisted = false;
};
