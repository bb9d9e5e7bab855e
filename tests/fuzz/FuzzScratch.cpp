#include "FuzzScratch.h"

#include "app/CmdLineParams.h"

#include <sanitizer/common_interface_defs.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

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

void FuzzScratch::registerGameParameters(CmdLineParams &params, CmdLineCallback *callback) {
  params.registerCallback(L"width", L"--width", L"-w", true, L"-1", callback);
  params.registerCallback(L"height", L"--height", L"-h", true, L"-1", callback);
  params.registerCallback(L"window", L"--window", L"-win", false, L"", callback);
  params.registerCallback(L"mute", L"--mute", L"-m", false, L"", callback);
  params.registerCallback(L"audioAPI", L"--audio-api", L"-a", true, L"SDL", callback);
  params.registerCallback(L"help", L"--help", L"-help", false, L"", callback);
}

void fuzzFailure(const char *what) {
  // Standard error may be closed (-close_fd_mask); the sanitizer's report goes where libFuzzer's does.
  __sanitizer_report_error_summary(what);
  std::abort();
}

void GameParameterValues::cmdLineParameterFound(const std::wstring &name, const std::wstring &value) {
  if (name == L"width" || name == L"height") {
    std::wistringstream stream(value);
    int parsed;
    if (stream >> parsed) (name == L"width" ? width : height) = parsed;
  } else if (name == L"window") {
    windowed = true;
  } else if (name == L"mute") {
    mute = true;
  } else if (name == L"audioAPI") {
    audioAPI = value;
  } else if (name == L"help") {
    ++helpCount;
  }
}
