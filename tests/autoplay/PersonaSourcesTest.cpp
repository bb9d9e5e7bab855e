#include <gtest/gtest.h>

#include <dirent.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

std::vector<std::string> filesIn(const std::string &dir) {
  std::vector<std::string> files;
  if (DIR *d = opendir(dir.c_str())) {
    while (const dirent *entry = readdir(d)) {
      const std::string name = entry->d_name;
      if (name.size() > 2 && (name.substr(name.size() - 2) == ".h" || name.substr(name.size() - 4) == ".cpp"))
        files.push_back(dir + "/" + name);
    }
    closedir(d);
  }
  return files;
}

// The quoted includes of a source file.
std::vector<std::string> includesOf(const std::string &path) {
  std::ifstream in(path);
  std::vector<std::string> includes;
  const std::regex include("^\\s*#\\s*include\\s*\"([^\"]+)\"");
  std::smatch match;
  for (std::string line; std::getline(in, line);)
    if (std::regex_search(line, match, include)) includes.push_back(match[1]);
  return includes;
}

}  // namespace

// The personas play from the picture alone: none of their files can reach a
// world's or the game's state, because none includes anything beyond the
// personas' own headers, the base types and the two harness headers through
// which they are asked to play and move the mouse, which name the game's
// states only as incomplete types.
TEST(PersonaSources, ReachNothingOfTheGamesState) {
  const std::string root = MURMEL_SOURCE_DIR "/programs/autoplay/";
  const std::vector<std::string> files = filesIn(root + "personas");
  ASSERT_GT(files.size(), 10u);
  const std::regex allowed("^(personas/[A-Za-z0-9]+\\.h|base/[A-Za-z0-9]+\\.h|harness/(Player|EventPusher)\\.h)$");
  for (const std::string &file : files) {
    for (const std::string &include : includesOf(file))
      EXPECT_TRUE(std::regex_match(include, allowed)) << file << " includes " << include;
  }
  for (const char *harness : {"harness/Player.h", "harness/EventPusher.h"}) {
    for (const std::string &include : includesOf(root + harness))
      EXPECT_EQ(0u, include.rfind("base/", 0)) << harness << " includes " << include;
  }
}
