#include "framework/app/GameFlags.h"

#include "framework/app/CmdLineParams.h"

#include <sstream>

void GameFlags::registerWith(CmdLineParams &params, CmdLineCallback *callback) {
  params.registerCallback(L"width", L"--width", L"-w", true, L"-1", callback);
  params.registerCallback(L"height", L"--height", L"-h", true, L"-1", callback);
  params.registerCallback(L"window", L"--window", L"-win", false, L"", callback);
  params.registerCallback(L"mute", L"--mute", L"-m", false, L"", callback);
  params.registerCallback(L"audioAPI", L"--audio-api", L"-a", true, L"SDL", callback);
  params.registerCallback(L"help", L"--help", L"-help", false, L"", callback);
}

void GameFlags::cmdLineParameterFound(const std::wstring &name, const std::wstring &value) {
  if (name == L"width" || name == L"height") {
    std::wistringstream stream(value);
    int parsed;
    if (stream >> parsed) (name == L"width" ? width : height) = parsed;
  } else if (name == L"window") {
    windowed = true;
  } else if (name == L"mute") {
    mute = true;
  } else if (name == L"audioAPI") {
    audioAPI = value;
  } else if (name == L"help") {
    ++helpCount;
  }
}
