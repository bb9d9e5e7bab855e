#include "support/SoundServer.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

bool isExecutable(const std::string &path) { return access(path.c_str(), X_OK) == 0; }

}  // namespace

std::string SoundServer::findProgram(const std::string &name) {
  const char *path = std::getenv("PATH");
  std::istringstream folders(path ? path : "/usr/bin:/bin");
  for (std::string folder; std::getline(folders, folder, ':');)
    if (!folder.empty() && isExecutable(folder + "/" + name)) return folder + "/" + name;
  return "";
}

SoundServer::SoundServer(const std::string &folder, const std::vector<std::string> &sinkNames) : folder(folder) {
  const std::string program = findProgram("pulseaudio");
  if (program.empty()) return;
  // The server refuses a runtime folder others may read.
  mkdir((folder + "/run").c_str(), 0700);
  mkdir((folder + "/home").c_str(), 0700);
  std::ofstream(folder + "/client.conf") << "autospawn = no\n";

  std::vector<std::string> arguments = {program, "-n", "--daemonize=no", "--exit-idle-time=-1", "--log-target=stderr"};
  for (const std::string &sink : sinkNames) arguments.push_back("--load=module-null-sink sink_name=" + sink);
  arguments.push_back("--load=module-native-protocol-unix");
  std::vector<char *> argv;
  for (std::string &argument : arguments) argv.push_back(&argument[0]);
  argv.push_back(nullptr);

  // Everything the child needs is made before the fork: after it, in a
  // process that may have threads, only async-signal-safe calls are allowed.
  std::vector<std::string> environment = {"HOME=" + folder + "/home", "XDG_RUNTIME_DIR=" + folder + "/run",
                                          "XDG_CONFIG_HOME=" + folder + "/home/.config",
                                          // No session bus, and none started through the X display.
                                          "DBUS_SESSION_BUS_ADDRESS=unix:path=" + folder + "/no-bus"};
  if (const char *path = std::getenv("PATH")) environment.push_back(std::string("PATH=") + path);
  std::vector<char *> envp;
  for (std::string &entry : environment) envp.push_back(&entry[0]);
  envp.push_back(nullptr);
  const std::string logPath = folder + "/server.log";

  const pid_t parent = getpid();
  pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);
    const int logFd = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (logFd >= 0) {
      dup2(logFd, 1);
      dup2(logFd, 2);
    }
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  if (pid < 0) return;

  const std::string socket = folder + "/run/pulse/native";
  for (int attempt = 0; attempt < 100 && !answering; ++attempt) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) {
      pid = -1;
      return;
    }
    struct stat info;
    answering = stat(socket.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
    if (!answering) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

SoundServer::~SoundServer() {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

std::vector<std::string> SoundServer::clientEnvironment(const std::string &sinkName) const {
  return {"PULSE_SERVER=unix:" + folder + "/run/pulse/native", "PULSE_SINK=" + sinkName,
          "PULSE_CLIENTCONFIG=" + folder + "/client.conf", "XDG_RUNTIME_DIR=" + folder + "/run"};
}

std::string SoundServer::log() const {
  std::ifstream in(folder + "/server.log");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}
