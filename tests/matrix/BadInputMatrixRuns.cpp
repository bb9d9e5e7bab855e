// One fault at a time against the real program with the robot at the
// controls, on a copied data folder and a settings folder of its own: no
// crash, no hang, at most one clear line per fault on standard error, the
// title screen and the first world finished, and nothing of the player's
// settings overwritten or deleted.

#include "support/GameProcess.h"
#include "support/OggTestFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <thread>

namespace {

std::string readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void writeFile(const std::string &path, const std::string &bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string randomBytes(size_t count) {
  std::mt19937 random(1234);
  std::string bytes(count, '\0');
  for (char &b : bytes) b = static_cast<char>(random());
  return bytes;
}

// Every regular file under a folder, by path, with its bytes.
std::map<std::string, std::string> snapshot(const std::string &folder) {
  std::map<std::string, std::string> files;
  FILE *list = popen(("find '" + folder + "' -type f 2>/dev/null").c_str(), "r");
  char line[4096];
  while (list && fgets(line, sizeof line, list)) {
    std::string path(line);
    path.pop_back();
    files[path] = readFile(path);
  }
  if (list) pclose(list);
  return files;
}

// The same signal on every channel, at another rate (linear interpolation is
// plenty for a fault test).
void reencode(const std::string &path, int channels, long rate) {
  int fileChannels = 0;
  long fileRate = 0;
  const std::vector<float> samples = OggTestFile::decode(path, &fileChannels, &fileRate);
  ASSERT_FALSE(samples.empty()) << path;
  const long inFrames = static_cast<long>(samples.size()) / fileChannels;
  const long outFrames = inFrames * rate / fileRate;
  std::vector<float> out(static_cast<size_t>(outFrames * channels));
  for (long i = 0; i < outFrames; ++i) {
    const double at = static_cast<double>(i) * fileRate / rate;
    const long j = std::min(static_cast<long>(at), inFrames - 1);
    const float v = samples[static_cast<size_t>(j * fileChannels)];
    for (int c = 0; c < channels; ++c) out[static_cast<size_t>(i * channels + c)] = v;
  }
  ASSERT_TRUE(OggTestFile::write(path, out, channels, rate));
}

struct World {
  TempDir data, home;
  std::vector<std::string> arguments = {"-win", "-w", "320", "-h", "180"};
  std::vector<std::string> environment;
  std::string sounds() const { return data.path() + "/sounds"; }
  std::string settings() const { return home.path() + "/.config/Murmel Worlds"; }
};

struct Case {
  const char *name;
  std::function<void(World &)> fault;
  // Text the one line on standard error must hold; empty for no line.
  const char *line;
};

const char *const damagedFiles[] = {"Music", "Speech_World0", "ClackyThing"};

std::vector<Case> cases() {
  std::vector<Case> all;
  for (const char *file : damagedFiles) {
    const std::string f = file;
    auto path = [f](World &w) { return w.sounds() + "/" + f + ".ogg"; };
    all.push_back({"truncated",
                   [=](World &w) {
                     const std::string b = readFile(path(w));
                     writeFile(path(w), b.substr(0, b.size() / 3));
                   },
                   ""});
    all.push_back({"random bytes", [=](World &w) { writeFile(path(w), randomBytes(30000)); }, file});
    all.push_back({"zero length", [=](World &w) { writeFile(path(w), ""); }, file});
    all.push_back({"damaged page",
                   [=](World &w) {
                     std::string b = readFile(path(w));
                     b.replace(b.size() / 2, 200, randomBytes(200));
                     writeFile(path(w), b);
                   },
                   ""});
    all.push_back({"mono", [=](World &w) { reencode(path(w), 1, 44100); }, ""});
    all.push_back({"six channels", [=](World &w) { reencode(path(w), 6, 44100); }, ""});
  }
  for (long rate : {8000L, 22050L, 48000L, 96000L})
    all.push_back({"other rate",
                   [=](World &w) {
                     for (const char *file : damagedFiles) reencode(w.sounds() + "/" + file + ".ogg", 2, rate);
                   },
                   ""});
  all.push_back({"no sounds folder", [](World &w) { std::system(("rm -rf '" + w.sounds() + "'").c_str()); },
                 "no \"sounds\" folder"});
  all.push_back(
      {"settings folder unwritable",
       [](World &w) { std::system(("mkdir -p '" + w.settings() + "' && chmod 555 '" + w.settings() + "'").c_str()); },
       "settings cannot be saved"});
  all.push_back({"settings folder is a file",
                 [](World &w) {
                   std::system(("mkdir -p '" + w.home.path() + "/.config'").c_str());
                   writeFile(w.settings(), "player's file");
                 },
                 "settings cannot be saved"});
  all.push_back({"config.txt is a folder",
                 [](World &w) { std::system(("mkdir -p '" + w.settings() + "/config.txt'").c_str()); },
                 "settings cannot be saved"});
  for (const char *file : {"config.txt", "keyconfig.txt"}) {
    const std::string f = file;
    for (const std::string &bytes : {randomBytes(5000), std::string("\xEF\xBB\xBF-w \xC3\x28\xFF 640\n"),
                                     std::string(10 * 1024 * 1024, 'x') + "\n"})
      all.push_back({file,
                     [=](World &w) {
                       std::system(("mkdir -p '" + w.settings() + "'").c_str());
                       writeFile(w.settings() + "/" + f, bytes);
                     },
                     ""});
  }
  all.push_back({"absurd values",
                 [](World &w) { w.arguments = {"-win", "-w", "-99999999999", "-h", "nan", "-a", "\xFF\xFE"}; }, ""});
  all.push_back({"no audio device", [](World &w) { w.environment.push_back("SDL_AUDIODRIVER=nonesuch"); },
                 "Murmel Worlds: sound is off"});
  return all;
}

#ifndef MURMEL_MATRIX_JOBS
#define MURMEL_MATRIX_JOBS 8
#endif

// One fault from copying the data to checking the settings folder afterwards.
void runCase(size_t index, const Case &c) {
  SCOPED_TRACE(std::to_string(index) + ": " + c.name);
  // Permissions do not bind root.
  if (std::string(c.name) == "settings folder unwritable" && geteuid() == 0) return;
  World w;
  ASSERT_EQ(0, std::system(("cp -r '" + GameProcess::builtProgram().substr(0, GameProcess::builtProgram().rfind('/')) +
                            "/data/sounds' '" + w.data.path() + "/'")
                               .c_str()));
  // The title waits for its spoken introduction, which no fault here
  // touches: a short one keeps each case to seconds.
  ASSERT_TRUE(OggTestFile::write(w.sounds() + "/Speech_Intro.ogg", std::vector<float>(2 * 11025, 0.0f), 2, 44100));
  w.environment = {"HOME=" + w.home.path(), "XDG_CONFIG_HOME=", "MURMEL_WORLDS_DATA=" + w.data.path(),
                   "SDL_AUDIODRIVER=dummy"};
  c.fault(w);
  const std::map<std::string, std::string> before = snapshot(w.home.path());

  GameProcess robot(GameProcess::builtProgram("murmel-worlds-autoplay"), w.arguments, w.environment);
  ASSERT_TRUE(robot.started());
  EXPECT_TRUE(robot.waitForOutput("autoplay: world 1 at frame", 180)) << robot.output() << robot.errorOutput();
  const int status = robot.askToQuit(30);
  EXPECT_TRUE(status == 0 || status == 1) << "status " << status << ": " << robot.errorOutput();
  EXPECT_NE(std::string::npos, robot.output().find("autoplay: title screen"));

  // The game's lines, without the robot's own.
  std::istringstream lines(robot.errorOutput());
  std::vector<std::string> told;
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("murmel-worlds-autoplay:", 0) != 0) told.push_back(line);
  std::printf("case %zu (%s): %s\n", index, c.name, told.empty() ? "nothing told" : told.front().c_str());
  if (*c.line) {
    EXPECT_EQ(1u, told.size()) << robot.errorOutput();
    for (const std::string &line : told) {
      EXPECT_EQ(0u, line.rfind("Murmel Worlds: ", 0)) << line;
      EXPECT_NE(std::string::npos, line.find(c.line)) << line;
    }
  } else {
    EXPECT_LE(told.size(), 1u) << robot.errorOutput();
    for (const std::string &line : told) EXPECT_EQ(0u, line.rfind("Murmel Worlds: ", 0)) << line;
  }
  const std::map<std::string, std::string> after = snapshot(w.home.path());
  for (const auto &file : before) {
    const auto kept = after.find(file.first);
    EXPECT_TRUE(kept != after.end() && kept->second == file.second) << file.first << " was deleted or overwritten";
  }
  std::system(("chmod -R u+w '" + w.home.path() + "'").c_str());
}

}  // namespace

// The robot plays at 60 frames a second, so a case spends most of its time
// waiting on the first world's sounds in real time and several fit side by
// side: $MURMEL_MATRIX_JOBS at once (8, or 3 in a sanitizer's build, unless set).
TEST(BadInputMatrix, EachFaultIsSurvivedAndToldInAtMostOneLine) {
  const std::vector<Case> all = cases();
  const char *only = std::getenv("MURMEL_MATRIX_CASES");
  std::vector<size_t> chosen;
  for (size_t i = 0; i < all.size(); ++i)
    if (!only || std::string(only).find("," + std::to_string(i) + ",") != std::string::npos) chosen.push_back(i);
  const char *jobsSetting = std::getenv("MURMEL_MATRIX_JOBS");
  const size_t jobs = std::max(1, jobsSetting ? std::atoi(jobsSetting) : MURMEL_MATRIX_JOBS);

  std::atomic<size_t> next{0};
  std::vector<std::thread> workers;
  for (size_t j = 0; j < std::min(jobs, chosen.size()); ++j)
    workers.emplace_back([&] {
      for (size_t k; (k = next++) < chosen.size();) runCase(chosen[k], all[chosen[k]]);
    });
  for (std::thread &worker : workers) worker.join();
}
