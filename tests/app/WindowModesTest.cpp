#include "framework/app/WindowModes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string text(const WindowModes::Size &size) {
  return std::to_string(size.width) + "x" + std::to_string(size.height);
}

}  // namespace

TEST(WindowModes, BothSizesKeepTheOpenedShapeAndFitTheScreen) {
  struct Case {
    int width, height;
    bool windowed;
    int screenWidth, screenHeight;
    const char *window, *fullScreen;
  } const cases[] = {
      {640, 360, true, 1920, 1080, "640x360", "1920x1080"},
      // Another shape than the screen's: full screen as tall as the screen.
      {800, 600, true, 1920, 1080, "800x600", "1440x1080"},
      // A window larger than the screen stays the player's choice.
      {2560, 1440, true, 1920, 1080, "2560x1440", "1920x1080"},
      // Opened full screen: the window takes three quarters of the screen at most.
      {1920, 1080, false, 1920, 1080, "1440x810", "1920x1080"},
      {1280, 720, false, 1920, 1080, "1280x720", "1280x720"},
      {1920, 1200, false, 1920, 1080, "1296x810", "1920x1200"},
      // No screen size known: nothing to fit to.
      {640, 360, true, 0, 0, "640x360", "640x360"},
      {1, 1, true, 1920, 1080, "1x1", "1080x1080"},
  };
  for (const Case &c : cases) {
    const WindowModes modes(WindowModes::Size{c.width, c.height}, c.windowed,
                            WindowModes::Size{c.screenWidth, c.screenHeight});
    EXPECT_EQ(c.window, text(modes.windowed())) << c.width << "x" << c.height << " " << c.windowed;
    EXPECT_EQ(c.fullScreen, text(modes.fullScreen())) << c.width << "x" << c.height << " " << c.windowed;
  }
}
