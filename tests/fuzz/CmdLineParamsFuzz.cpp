// Arbitrary argument vectors (the input split at zero bytes, each argument
// decoded as the entry point does), with the game's parameters registered.
// The first byte says whether "config.txt" exists, as the game wrote it at
// its first run, or whether a folder stands in its place; either way it must
// be left as it was.
#include "FuzzScratch.h"

#include "framework/app/CmdLineParams.h"
#include "framework/app/GameFlags.h"
#include "base/UTF8File.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const char firstRunConfig[] = "\xEF\xBB\xBF-a SDL\n-h -1\n-help 0\n-m 0\n-w -1\n-win 0\n";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  // "--help" prints the usage text each time.
  return std::freopen("/dev/null", "w", stdout) ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  const std::string path = FuzzScratch::get().settingsFolder() + "/config.txt";
  const bool withFile = data[0] & 1;
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
  if (withFile) {
    FuzzScratch::writeFile(path, reinterpret_cast<const uint8_t *>(firstRunConfig), sizeof firstRunConfig - 1);
  } else {
    std::filesystem::create_directory(path);
  }

  std::vector<std::wstring> arguments;
  const std::string rest(reinterpret_cast<const char *>(data + 1), size - 1);
  for (size_t start = 0; start <= rest.size();) {
    const size_t end = std::min(rest.find('\0', start), rest.size());
    std::wstring argument;
    UTF8File::charToWstring(rest.substr(start, end - start), argument);
    arguments.push_back(argument);
    start = end + 1;
  }

  CmdLineParams params(arguments);
  GameFlags values;
  GameFlags::registerWith(params, &values);
  params.handleParameters();
  params.getUsageText();

  if (withFile) {
    const std::vector<uint8_t> after = FuzzScratch::readFile(path);
    if (std::string(after.begin(), after.end()) != firstRunConfig) fuzzFailure("config.txt changed");
  } else if (!std::filesystem::is_directory(path)) {
    fuzzFailure("the folder in place of config.txt was replaced");
  }
  return 0;
}
