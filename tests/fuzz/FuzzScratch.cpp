#include "FuzzScratch.h"

#include <sanitizer/common_interface_defs.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

FuzzScratch &FuzzScratch::get() {
  static FuzzScratch scratch;
  return scratch;
}

FuzzScratch::FuzzScratch() {
  // Memory-backed where there is such a folder: targets write a file per input.
  const std::filesystem::path shm("/dev/shm");
  std::string pattern =
      (std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path()) / "murmel-fuzz-XXXXXX";
  if (!mkdtemp(pattern.data())) fuzzFailure("cannot make a scratch folder");
  root = pattern;
  const std::string config = root + "/config";
  settings = config + "/Murmel Worlds";
  std::filesystem::create_directories(settings);
  setenv("HOME", root.c_str(), 1);
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
}

FuzzScratch::~FuzzScratch() {
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
}

void FuzzScratch::writeFile(const std::string &path, const uint8_t *data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
  if (!out) fuzzFailure("cannot write a scratch file");
}

std::vector<uint8_t> FuzzScratch::readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void fuzzFailure(const char *what) {
  // Standard error may be closed (-close_fd_mask); the sanitizer's report goes where libFuzzer's does.
  __sanitizer_report_error_summary(what);
  std::abort();
}
