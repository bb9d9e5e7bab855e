#pragma once

#include <sys/types.h>
#include <string>
#include <vector>

// A private PulseAudio server with one null sink per name, as a desktop's
// sound server with nothing to play into: its runtime folder, home and
// settings are its own, nothing of the machine's is read or touched. It runs
// as this process's child and is told to stop when this process ends, however
// it ends, so no daemon outlives a test; it is stopped on destruction.
class SoundServer {
 public:
  SoundServer(const std::string &folder, const std::vector<std::string> &sinkNames);
  ~SoundServer();
  SoundServer(const SoundServer &) = delete;
  SoundServer &operator=(const SoundServer &) = delete;

  // The server answers on its socket.
  bool ready() const { return answering; }
  // "NAME=value" entries that lead a client to this server and to one sink,
  // and keep it from starting a server of its own when this one is gone.
  std::vector<std::string> clientEnvironment(const std::string &sinkName) const;
  // What the server wrote to its log, for failure messages.
  std::string log() const;

  // Searches PATH as a shell would; empty when the program is not installed.
  static std::string findProgram(const std::string &name);

 private:
  std::string folder;
  pid_t pid = -1;
  bool answering = false;
};
