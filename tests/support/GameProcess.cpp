#include "support/GameProcess.h"

#include "base/FilePath.h"
#include "base/UTF8File.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char **environ;

namespace {

std::string runAndRead(const std::string &command) {
  std::string output;
  if (FILE *pipe = popen(command.c_str(), "r")) {
    char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
    pclose(pipe);
  }
  return output;
}

uint32_t bigEndian(const std::string &bytes, size_t at) {
  const auto *b = reinterpret_cast<const unsigned char *>(bytes.data() + at);
  return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | uint32_t(b[3]);
}

}  // namespace

std::string GameProcess::builtProgram(const std::string &name) {
  std::wstring wide;
  UTF8File::charToWstring(name, wide);
  return FilePath::getCurrentExecutableDir().getParent().getChild(wide).getUtf8Path();
}

GameProcess::GameProcess(const std::string &program, const std::vector<std::string> &arguments,
                         const std::vector<std::string> &environment) {
  char pattern[] = "/tmp/murmel-stderr-XXXXXX";
  const int fd = mkstemp(pattern);
  if (fd < 0) return;
  errorFile = pattern;
  char outputPattern[] = "/tmp/murmel-stdout-XXXXXX";
  const int outputFd = mkstemp(outputPattern);
  if (outputFd < 0) {
    close(fd);
    return;
  }
  outputFile = outputPattern;

  std::vector<std::string> env;
  for (char **e = environ; *e; ++e) env.push_back(*e);
  std::vector<std::string> settings = environment;
  // SDL and Mesa unload their plug-in libraries at exit, so a sanitizer build's
  // leak report would name only "unknown module" frames that no suppression can
  // match, and ThreadSanitizer stops when a library its suppressions name goes.
  // The same start-up and shutdown run in-process, checked, in the application
  // tests; here the program's behaviour is what is tested.
  const char *asan = std::getenv("ASAN_OPTIONS");
  settings.push_back(std::string("ASAN_OPTIONS=") + (asan ? std::string(asan) + ":" : "") + "detect_leaks=0");
  settings.push_back("TSAN_OPTIONS=report_bugs=0");
  for (const std::string &extra : settings) {
    const std::string name = extra.substr(0, extra.find('=') + 1);
    for (auto it = env.begin(); it != env.end();) it = it->rfind(name, 0) == 0 ? env.erase(it) : it + 1;
    env.push_back(extra);
  }
  std::vector<char *> envp, argv;
  for (std::string &entry : env) envp.push_back(&entry[0]);
  envp.push_back(nullptr);
  std::vector<std::string> args = arguments;
  std::string programCopy = program;
  argv.push_back(&programCopy[0]);
  for (std::string &argument : args) argv.push_back(&argument[0]);
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fd, 2);
  posix_spawn_file_actions_adddup2(&actions, outputFd, 1);
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(fd);
  close(outputFd);
}

GameProcess::~GameProcess() {
  if (pid > 0 && status < 0) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  if (!errorFile.empty()) std::remove(errorFile.c_str());
  if (!outputFile.empty()) std::remove(outputFile.c_str());
}

unsigned long GameProcess::findWindow(int timeoutSeconds) {
  const std::string found = runAndRead("timeout " + std::to_string(timeoutSeconds) +
                                       " xdotool search --sync --name '^Murmel Worlds$' 2>/dev/null");
  return std::strtoul(found.c_str(), nullptr, 10);
}

std::vector<unsigned char> GameProcess::screenshot(unsigned long window, int &width, int &height) {
  const std::string xwd = runAndRead("xwd -silent -id " + std::to_string(window));
  std::vector<unsigned char> rgb;
  if (xwd.size() < 100) return rgb;
  const uint32_t headerSize = bigEndian(xwd, 0), byteOrder = bigEndian(xwd, 28), bitsPerPixel = bigEndian(xwd, 44),
                 bytesPerLine = bigEndian(xwd, 48), colours = bigEndian(xwd, 76);
  width = static_cast<int>(bigEndian(xwd, 16));
  height = static_cast<int>(bigEndian(xwd, 20));
  const size_t pixelsAt = headerSize + colours * 12;
  // Only the 32-bit true-colour layout Xvfb's 24-bit screens use.
  if (bitsPerPixel != 32 || xwd.size() < pixelsAt + size_t(bytesPerLine) * size_t(height)) return rgb;
  rgb.resize(size_t(width) * size_t(height) * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const auto *p = reinterpret_cast<const unsigned char *>(xwd.data() + pixelsAt + size_t(y) * bytesPerLine + x * 4);
      unsigned char *out = &rgb[(size_t(y) * width + x) * 3];
      // Least significant byte first: blue, green, red.
      out[0] = byteOrder == 0 ? p[2] : p[1];
      out[1] = byteOrder == 0 ? p[1] : p[2];
      out[2] = byteOrder == 0 ? p[0] : p[3];
    }
  }
  return rgb;
}

void GameProcess::pressKey(unsigned long window, const std::string &key) {
  runAndRead("xdotool windowfocus --sync " + std::to_string(window) + " key " + key + " 2>/dev/null");
}

int GameProcess::waitForExit(int timeoutSeconds) {
  if (pid <= 0) return -1;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  while (std::chrono::steady_clock::now() < until) {
    int raw;
    if (waitpid(pid, &raw, WNOHANG) == pid) {
      status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
      return status;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return -1;
}

bool GameProcess::waitForOutput(const std::string &text, int timeoutSeconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  while (std::chrono::steady_clock::now() < until) {
    if (output().find(text) != std::string::npos) return true;
    // Polls the process's end for a second at a time.
    if (status >= 0 || waitForExit(1) >= 0) return output().find(text) != std::string::npos;
  }
  return false;
}

int GameProcess::askToQuit(int timeoutSeconds) {
  if (pid > 0 && status < 0) kill(pid, SIGTERM);
  return status >= 0 ? status : waitForExit(timeoutSeconds);
}

namespace {

std::string readAll(const std::string &path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

std::string GameProcess::errorOutput() const { return readAll(errorFile); }

std::string GameProcess::output() const { return readAll(outputFile); }
