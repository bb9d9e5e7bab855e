#pragma once

#include "app/CmdLineCallback.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CmdLineParams;

// A private folder for one fuzzing process, made on first use and removed at
// exit, with $HOME and $XDG_CONFIG_HOME pointed into it: no target ever reads
// or writes the player's own settings.
class FuzzScratch {
 public:
  static FuzzScratch &get();

  const std::string &folder() const { return root; }
  // Where "config.txt" and "keyconfig.txt" are looked for.
  const std::string &settingsFolder() const { return settings; }

  // Replaces the file's contents; aborts when it cannot, as a harness fault.
  static void writeFile(const std::string &path, const uint8_t *data, size_t size);
  static std::vector<uint8_t> readFile(const std::string &path);

  // The game's own command-line parameters, with the values they take.
  static void registerGameParameters(CmdLineParams &params, CmdLineCallback *callback);

  FuzzScratch(const FuzzScratch &) = delete;
  FuzzScratch &operator=(const FuzzScratch &) = delete;

 private:
  FuzzScratch();
  ~FuzzScratch();

  std::string root;
  std::string settings;
};

// Takes the parameters' values as the application does.
class GameParameterValues final : public CmdLineCallback {
 public:
  void cmdLineParameterFound(const std::wstring &name, const std::wstring &value) override;

  int width = -1;
  int height = -1;
  bool windowed = false;
  bool mute = false;
  std::wstring audioAPI;
  int helpCount = 0;
};

// Stops the run so that libFuzzer keeps the input, with a line saying why.
[[noreturn]] void fuzzFailure(const char *what);
