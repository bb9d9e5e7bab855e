#pragma once

#include <sys/types.h>
#include <string>
#include <vector>

// The built game program run as a separate process on the current display,
// for end-to-end tests: find its window, take a screenshot of it, press keys,
// wait for it to end.
class GameProcess {
 public:
  // environment: extra "NAME=value" entries on top of this process's own.
  GameProcess(const std::string &program, const std::vector<std::string> &arguments,
              const std::vector<std::string> &environment);
  ~GameProcess();
  GameProcess(const GameProcess &) = delete;
  GameProcess &operator=(const GameProcess &) = delete;

  bool started() const { return pid > 0; }
  // The X window titled "Murmel Worlds", waiting up to the time-out; 0 if none.
  unsigned long findWindow(int timeoutSeconds);
  // The window's pixels as RGB rows, top row first; empty on failure.
  std::vector<unsigned char> screenshot(unsigned long window, int &width, int &height);
  void pressKey(unsigned long window, const std::string &key);
  // The exit status, or -1 if it did not end in time (it is then killed).
  int waitForExit(int timeoutSeconds);
  // Waits until standard output holds the text; false if the program ends or time runs out first.
  bool waitForOutput(const std::string &text, int timeoutSeconds);
  // Asks the program to quit as a desktop would (SIGTERM) and waits for its status, as waitForExit.
  int askToQuit(int timeoutSeconds);
  // What the program wrote to standard error, and to standard output, so far.
  std::string errorOutput() const;
  std::string output() const;

  // A program of the build beside the test programs' folder: the game, or another by name.
  static std::string builtProgram(const std::string &name = "murmel-worlds");

 private:
  pid_t pid = -1;
  std::string errorFile;
  std::string outputFile;
  int status = -1;
};
