#pragma once

#include <string>

// Told by CmdLineParams about each parameter found on the command line or
// taken from "config.txt".
class CmdLineCallback {
 public:
  virtual ~CmdLineCallback() = default;
  virtual void cmdLineParameterFound(const std::wstring &name, const std::wstring &value) = 0;
};
