#pragma once

#include <string>

// What the game tells the framework about itself: its name and the logical
// drawing area the drawers fit to the window.
class AppSettings {
 public:
  // Window caption, name of the data folder, usage text.
  static const std::wstring applicationName;
  static const std::wstring applicationVersion;

  AppSettings() = default;
  virtual ~AppSettings() = default;

  // Logical drawing area in drawing units.
  int drawingAreaWidth = 1280;
  int drawingAreaHeight = 720;
  // 0: the area keeps its shape and is letter- or pillar-boxed in the window;
  // 1: the area keeps its width and takes the window's shape.
  int scalingMode = 0;
};
