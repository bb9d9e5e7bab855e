#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

  FuzzScratch(const FuzzScratch &) = delete;
  FuzzScratch &operator=(const FuzzScratch &) = delete;

 private:
  FuzzScratch();
  ~FuzzScratch();

  std::string root;
  std::string settings;
};

// Stops the run so that libFuzzer keeps the input, with a line saying why.
[[noreturn]] void fuzzFailure(const char *what);
