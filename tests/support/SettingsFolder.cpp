#include "support/SettingsFolder.h"

#include <sys/stat.h>
#include <fstream>
#include <sstream>

void SettingsFolder::write(const std::string &name, const std::string &bytes) const {
  mkdir(folder().c_str(), 0775);
  std::ofstream out(file(name), std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string SettingsFolder::read(const std::string &name) const {
  std::ifstream in(file(name), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool SettingsFolder::exists(const std::string &name) const {
  struct stat info;
  return stat(file(name).c_str(), &info) == 0;
}
