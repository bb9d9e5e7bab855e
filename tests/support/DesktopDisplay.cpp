#include "support/DesktopDisplay.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

extern char **environ;

namespace {

pid_t spawn(std::vector<std::string> arguments, const posix_spawn_file_actions_t *actions) {
  std::vector<char *> argv;
  for (std::string &argument : arguments) argv.push_back(&argument[0]);
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

void stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

}  // namespace

DesktopDisplay::DesktopDisplay(int width, int height) {
  // The server picks a free display number and writes it to the pipe.
  int fds[2];
  if (pipe(fds) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  server = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-nolisten", "tcp", "-screen", "0",
                  std::to_string(width) + "x" + std::to_string(height) + "x24"},
                 &actions);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  std::string number;
  char c;
  while (server > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) return;
  display = ":" + number;

  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  windowManager = spawn({"env", "DISPLAY=" + display, "openbox"}, &actions);
  posix_spawn_file_actions_destroy(&actions);
  // The window manager announces itself on the root window once it manages the screen.
  for (int attempt = 0; attempt < 100 && windowManager > 0 && !managed; ++attempt) {
    managed = run("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") != std::string::npos;
    if (!managed) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

DesktopDisplay::~DesktopDisplay() {
  stop(windowManager);
  stop(server);
}

std::string DesktopDisplay::run(const std::string &command) const {
  std::string output;
  if (FILE *pipe = popen(("export DISPLAY=" + display + "; " + command + " 2>/dev/null").c_str(), "r")) {
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
    pclose(pipe);
  }
  return output;
}
