#include "support/DesktopDisplay.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

// Starts a program, its output silenced, that dies with this process even
// when this one is killed (a test's time-out, an abort): no X server or
// window manager is left behind holding the terminal or the suite's pipe.
pid_t spawn(std::vector<std::string> arguments, int closeInChild) {
  std::vector<char *> argv;
  for (std::string &argument : arguments) argv.push_back(&argument[0]);
  argv.push_back(nullptr);
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid != 0) return pid;
  // Only async-signal-safe calls from here on.
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (getppid() != parent) _exit(127);
  if (closeInChild >= 0) close(closeInChild);
  const int null = open("/dev/null", O_WRONLY);
  dup2(null, 1);
  dup2(null, 2);
  execvp(argv[0], argv.data());
  _exit(127);
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
  server = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-nolisten", "tcp", "-screen", "0",
                  std::to_string(width) + "x" + std::to_string(height) + "x24"},
                 fds[0]);
  close(fds[1]);
  std::string number;
  char c;
  while (server > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) return;
  display = ":" + number;

  windowManager = spawn({"env", "DISPLAY=" + display, "openbox"}, -1);
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
