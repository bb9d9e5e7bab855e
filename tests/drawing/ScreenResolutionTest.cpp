#include "framework/drawing/ScreenResolution.h"

#include "platforms/SDL1.2Backend/SDL1.2VideoStart.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

TEST(ScreenResolution, AsksBeforeSdlIsUpAndLeavesItDown) {
  ASSERT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
  const int width = ScreenResolution::getScreenWidth();
  const int height = ScreenResolution::getScreenHeight();
  EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
  // The test display is at least as large as the game's drawing area.
  EXPECT_GE(width, 1280);
  EXPECT_GE(height, 720);
  EXPECT_EQ(ScreenResolution::getScreenWidth(), width);
}

TEST(ScreenResolution, LeavesARunningVideoSubsystemRunning) {
  ASSERT_TRUE(SDL1_2VideoStart::start(SDL_INIT_VIDEO)) << SDL_GetError();
  EXPECT_GT(ScreenResolution::getScreenWidth(), 0);
  EXPECT_GT(ScreenResolution::getScreenHeight(), 0);
  EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
