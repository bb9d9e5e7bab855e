#include "framework/app/CmdLineParams.h"

#include "framework/app/AppSettings.h"
#include "framework/app/ConfigFile.h"
#include "base/UTF8File.h"

#include <cstdio>

CmdLineParams::CmdLineParams(const std::vector<std::wstring> &arguments) : arguments(arguments) {
  registerCallback(L"help", L"--help", L"-help", false, L"", this);
}

void CmdLineParams::registerCallback(const std::wstring &name, const std::wstring &longForm,
                                     const std::wstring &shortForm, bool takesValue, const std::wstring &defaultValue,
                                     CmdLineCallback *callback) {
  parameters.push_back(
      ParameterCallback{name, longForm, shortForm, takesValue, defaultValue.empty() ? L"0" : defaultValue, callback});
}

void CmdLineParams::handleParameters() {
  ConfigFile config(*this);
  for (const ParameterCallback &parameter : parameters) {
    size_t found = arguments.size();
    for (size_t j = 0; j < arguments.size(); ++j) {
      if (arguments[j] == parameter.longForm || arguments[j] == parameter.shortForm) {
        found = j;
        break;
      }
    }
    if (found < arguments.size()) {
      // The value is not consumed: it may itself match another parameter.
      const std::wstring value =
          (parameter.takesValue && found + 1 < arguments.size()) ? arguments[found + 1] : std::wstring();
      if (parameter.callback) parameter.callback->cmdLineParameterFound(parameter.name, value);
      config.setParameterValue(parameter.shortForm, parameter.takesValue ? value : L"1");
    } else if (config.existed()) {
      // "help" never comes from the file: a first run with --help would
      // otherwise make every later start print the usage and quit.
      if (parameter.name == L"help") continue;
      const std::wstring stored = config.getParameterValue(parameter.shortForm);
      if (parameter.takesValue) {
        if (!stored.empty() && parameter.callback) parameter.callback->cmdLineParameterFound(parameter.name, stored);
      } else if (arguments.empty() && !stored.empty() && stored != L"0" && parameter.callback) {
        parameter.callback->cmdLineParameterFound(parameter.name, L"");
      }
    } else {
      config.setParameterValue(parameter.shortForm, parameter.defaultValue);
    }
  }
  // A new "config.txt" records help with its default whatever the command line said.
  if (!config.existed()) {
    for (const ParameterCallback &parameter : parameters) {
      if (parameter.name == L"help") config.setParameterValue(parameter.shortForm, parameter.defaultValue);
    }
  }
}

std::wstring CmdLineParams::getUsageText() const {
  const std::wstring &app = AppSettings::applicationName;
  std::wstring text = L"\n" + app + L"\n\nUsage:\n" + app;
  for (const ParameterCallback &parameter : parameters) {
    text += L" " + parameter.shortForm;
    if (parameter.takesValue) text += L" [val]";
  }
  text +=
      L"\n\nFlags:\n"
      L"--width [val] | -w [val]:\tSet the width of the window.\n"
      L"--height [val] | -h [val]:\tSet the height of the window.\n"
      L"--window | -win:\t\tSets whether to start the game in a window rather than fullscreen.\n"
      L"--mute | -m:\t\tSwitches off the sound output.\n"
      L"--audio-api [name] | -a [name]:\t\tSets the audio API to use.  Can be SDL, DirectSound, ASIO, MME, ALSA, "
      L"JACK, OSS, CoreAudio.\n"
      L"--help | -h:\t\t\t\tDisplay this help.\n";
  return text;
}

void CmdLineParams::cmdLineParameterFound(const std::wstring &name, const std::wstring &) {
  if (name != L"help") return;
  std::string bytes;
  UTF8File::wstringToChar(getUsageText(), bytes);
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

std::vector<std::wstring> CmdLineParams::fromMain(int argc, char *argv[]) {
  std::vector<std::wstring> wide;
  for (int i = 1; i < argc; ++i) {
    std::wstring argument;
    UTF8File::charToWstring(argv[i], argument);
    wide.push_back(argument);
  }
  return wide;
}
