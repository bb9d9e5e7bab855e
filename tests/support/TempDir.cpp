#include "support/TempDir.h"

#include <ftw.h>
#include <unistd.h>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

int removeEntry(const char *path, const struct stat *, int, struct FTW *) { return ::remove(path); }

}  // namespace

TempDir::TempDir() {
  const char *base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/murmel-test-XXXXXX";
  if (mkdtemp(&pattern[0])) root = pattern;
}

TempDir::~TempDir() {
  if (!root.empty()) nftw(root.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

std::wstring TempDir::widePath() const {
  // The folder name is ASCII by construction.
  return std::wstring(root.begin(), root.end());
}

void TempDir::writeFile(const std::string &relative, const std::string &bytes) const {
  std::ofstream out(root + "/" + relative, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempDir::readFile(const std::string &relative) const {
  std::ifstream in(root + "/" + relative, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}
