#pragma once

#include "framework/app/CmdLineCallback.h"

#include <string>
#include <vector>

// The registry of command-line parameters. Each is registered with a long
// and a short spelling; handleParameters matches the arguments, merges in
// "config.txt" and tells each parameter's callback, in registration order.
class CmdLineParams final : public CmdLineCallback {
 public:
  struct ParameterCallback {
    std::wstring name;
    std::wstring longForm;
    // Also the parameter's key in "config.txt".
    std::wstring shortForm;
    bool takesValue;
    // Recorded in a new "config.txt"; an empty default is stored as "0".
    std::wstring defaultValue;
    CmdLineCallback *callback;  // not owned
  };

  // The arguments without the program name. Registers "help" itself.
  explicit CmdLineParams(const std::vector<std::wstring> &arguments);
  // A program's arguments after its name, as wide strings.
  static std::vector<std::wstring> fromMain(int argc, char *argv[]);

  void registerCallback(const std::wstring &name, const std::wstring &longForm, const std::wstring &shortForm,
                        bool takesValue, const std::wstring &defaultValue, CmdLineCallback *callback);
  // Called once, after every parameter is registered.
  void handleParameters();

  // Prints the usage text for "help".
  void cmdLineParameterFound(const std::wstring &name, const std::wstring &value) override;

  const std::vector<ParameterCallback> &getParameters() const { return parameters; }
  const std::vector<std::wstring> &getArguments() const { return arguments; }
  std::wstring getUsageText() const;

 private:
  std::vector<std::wstring> arguments;
  std::vector<ParameterCallback> parameters;
};
