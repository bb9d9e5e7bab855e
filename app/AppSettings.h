#pragma once

#include "app/CmdLineCallback.h"

#include <map>
#include <string>

// What the game tells the framework about itself: its name, the logical
// drawing area and how the drawers fit it to the window.
class AppSettings final : public CmdLineCallback {
public:
  // Window caption, name of the settings folder, usage text.
  static const std::wstring applicationName;
  static const std::wstring applicationVersion;

  // The first value of a parameter wins.
  void cmdLineParameterFound(const std::wstring &name, const std::wstring &value) override;

  // Logical drawing area in drawing units.
  int drawingAreaWidth = 1280;
  int drawingAreaHeight = 720;
  // 0: the area keeps its shape and is letter- or pillar-boxed in the window;
  // 1: the area keeps its width and takes the window's shape.
  int scalingMode = 0;

private:
  std::map<std::wstring, std::wstring> parameterValues;
};
