#pragma once

#include "framework/app/CmdLineCallback.h"

#include <string>

class CmdLineParams;

// The game's own command-line flags ("-w 1280", "-win", "-a ALSA", ...) and
// the values they, or "config.txt", give.
class GameFlags final : public CmdLineCallback {
 public:
  // Registers every flag, each to be told to the callback.
  static void registerWith(CmdLineParams &params, CmdLineCallback *callback);

  void cmdLineParameterFound(const std::wstring &name, const std::wstring &value) override;

  // Below one pixel when not given, or not a number.
  int width = -1;
  int height = -1;
  bool windowed = false;
  bool mute = false;
  std::wstring audioAPI = L"SDL";
  int helpCount = 0;
};
