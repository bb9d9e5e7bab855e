#pragma once

#include "app/CmdLineCallback.h"

#include <map>
#include <string>

// What the game tells the framework about itself: its name, the logical
// drawing area and how it is fitted to the window.
class AppSettings final : public CmdLineCallback {
public:
  static const std::wstring applicationName;
  static const std::wstring applicationVersion;

  // The first value of a parameter wins.
  void cmdLineParameterFound(const std::wstring &name, const std::wstring &value) override;

  int getDrawingAreaWidth() const { return drawingAreaWidth; }
  int getDrawingAreaHeight() const { return drawingAreaHeight; }
  // 0: keep the area's shape, boxed inside the window; 1: keep its width and
  // give it the window's shape.
  int getScalingMode() const { return scalingMode; }

private:
  std::map<std::wstring, std::wstring> parameterValues;
  int drawingAreaWidth = 1280;
  int drawingAreaHeight = 720;
  int scalingMode = 0;
};
