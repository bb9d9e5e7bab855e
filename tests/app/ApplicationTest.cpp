#include "framework/app/CmdLineParams.h"
#include "base/CriticalSection.h"
#include "framework/app/GameState.h"
#include "platforms/SDL1.2Backend/SDL1.2Application.h"
#include "base/Thread.h"
#include "framework/drawing/Drawer.h"
#include "game/LoadingScreen.h"
#include "game/TitleScreen.h"

#include "support/DesktopDisplay.h"
#include "support/LibraryPins.h"
#include "support/PngFile.h"
#include "support/SettingsFolder.h"
#include "game/MurmelGame.h"
#include "framework/app/Platform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <limits>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

namespace {

const MurmelGame murmelGame;

std::vector<std::string> log;  // what the recording state heard, main thread only

std::string narrowName(const std::wstring &text) { return std::string(text.begin(), text.end()); }

// Writes every input it receives into the log.
class RecordingState final : public GameState {
 public:
  RecordingState(Application *app, Sounder *sounder) : GameState(app, sounder) {}
  void draw(boost::shared_ptr<Drawer>) override {}
  void keyDown(const std::wstring &action, const std::wstring &text, int modifier) override {
    std::ostringstream line;
    line << "keyDown '" << narrowName(action) << "' " << static_cast<unsigned>(text.at(0)) << " " << modifier;
    log.push_back(line.str());
  }
  void keyUp(const std::wstring &action, const std::wstring &, int modifier) override {
    log.push_back("keyUp '" + narrowName(action) + "' " + std::to_string(modifier));
  }
  void mouseDown(int button, const TwoFloats &pos) override { logMouse("mouseDown", button, pos); }
  void mouseUp(int button, const TwoFloats &pos) override { logMouse("mouseUp", button, pos); }
  void mouseMove(const TwoFloats &pos) override { logMouse("mouseMove", 0, pos); }
  void mouseWheel(bool down) override { log.push_back(down ? "wheel down" : "wheel up"); }
  std::wstring getName() const override { return L"Recorder"; }
  static GameStateCreator<RecordingState> creator;

 private:
  void logMouse(const char *what, int button, const TwoFloats &pos) {
    std::ostringstream line;
    line << what << " " << button << " " << pos.x << "," << pos.y;
    log.push_back(line.str());
  }
};
GameStateCreator<RecordingState> RecordingState::creator;

// Switches to the recorder from inside an event and a draw, then still uses
// its own members: safe only while the loop holds a reference of its own.
class SwitchingState final : public GameState {
 public:
  SwitchingState(Application *app, Sounder *sounder) : GameState(app, sounder) {}
  void draw(boost::shared_ptr<Drawer>) override {
    if (++frames == 3) {
      nextState(L"Recorder", L"");
      note = "switched while drawing";
      log.push_back(note);
    }
  }
  void keyDown(const std::wstring &, const std::wstring &, int) override {
    nextState(L"Switcher", L"");
    note = "switched on a key";
    log.push_back(note);
  }
  std::wstring getName() const override { return L"Switcher"; }
  static GameStateCreator<SwitchingState> creator;

 private:
  int frames = 0;
  std::string note;
};
GameStateCreator<SwitchingState> SwitchingState::creator;

// Pointer motion comes and goes with whatever else moves the X pointer.
std::vector<std::string> withoutPointerMotion(const std::vector<std::string> &lines) {
  std::vector<std::string> kept;
  for (const std::string &line : lines) {
    if (line.rfind("mouseMove", 0) != 0) kept.push_back(line);
  }
  return kept;
}

class Hook final : public SDL1_2Application::FrameHook {
 public:
  std::function<void(SDL1_2Application &, long)> before;
  std::function<void(SDL1_2Application &, long)> after;
  void beforeFrame(SDL1_2Application &app) override {
    if (before) before(app, app.getFrameCount());
  }
  void afterDraw(SDL1_2Application &app) override {
    if (after) after(app, app.getFrameCount());
  }
};

void push(SDL_Event event) { ASSERT_EQ(0, SDL_PushEvent(&event)); }

SDL_Event key(Uint8 type, SDLKey sym, int mod = KMOD_NONE) {
  SDL_Event event{};
  event.type = type;
  event.key.type = type;
  event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = sym;
  event.key.keysym.mod = static_cast<SDLMod>(mod);
  return event;
}

SDL_Event button(Uint8 type, Uint8 which, Uint16 x, Uint16 y) {
  SDL_Event event{};
  event.type = type;
  event.button.type = type;
  event.button.button = which;
  event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  event.button.x = x;
  event.button.y = y;
  return event;
}

class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Platform::install();
    log.clear();
  }
  SettingsFolder settings;
};

// The state names, one per frame, as the loop saw them.
std::string stateName(SDL1_2Application &app) {
  return app.getCurrentState() ? narrowName(app.getCurrentState()->getName()) : "";
}

// White pixels of a bottom-up 1280 x 720 RGB frame, inside and outside the title's box.
void countWhite(const std::vector<unsigned char> &shot, int &inTitle, int &outside) {
  for (int y = 0; y < 720; ++y) {
    for (int x = 0; x < 1280; ++x) {
      const size_t at = (static_cast<size_t>(719 - y) * 1280 + static_cast<size_t>(x)) * 3;
      if (shot[at] > 250 && shot[at + 1] > 250 && shot[at + 2] > 250)
        (x >= 32 && x < 32 + 708 && y >= 32 && y < 32 + 91 ? inTitle : outside) += 1;
    }
  }
}

}  // namespace

TEST_F(ApplicationTest, LoadsThenShowsTheTitleAndQuitsOnEscape) {
  // The shipped sound files, as the game beside "data" finds them.
  const FilePath buildData = FilePath::getCurrentExecutableDir().getParent().getChild(L"data");
  ScopedEnv data("MURMEL_WORLDS_DATA", buildData.getUtf8Path().c_str());
  SDL1_2Application app(murmelGame);
  CmdLineParams params({L"-win", L"-w", L"1280", L"-h", L"720"});
  app.initialise(params);
  pinLoadedLibraries();
  ASSERT_EQ(0, app.getExitStatus());
  ASSERT_EQ("LoadingScreen", stateName(app));
  EXPECT_EQ(L"TitleScreen", app.getStartState());

  long firstTitleFrame = -1;
  std::vector<unsigned char> shot;
  Hook hook;
  hook.before = [&](SDL1_2Application &a, long frame) {
    if (firstTitleFrame < 0 && stateName(a) == "TitleScreen") firstTitleFrame = frame;
    // Well after the fade-in: look, then leave.
    if (firstTitleFrame >= 0 && frame == firstTitleFrame + 60) push(key(SDL_KEYDOWN, SDLK_ESCAPE));
    if (frame > 2000) a.quit();  // a guard, never reached when all is well
  };
  hook.after = [&](SDL1_2Application &a, long frame) {
    if (firstTitleFrame >= 0 && frame == firstTitleFrame + 59) a.getDrawer()->getScreenPixels(shot);
  };
  app.setFrameHook(&hook);
  app.eventLoop();

  // 20 loading steps, then 49 frames of fade: the title's first frame is frame 69.
  EXPECT_EQ(69, firstTitleFrame);
  EXPECT_EQ(firstTitleFrame + 61, app.getFrameCount());
  const TitleScreen *title = dynamic_cast<TitleScreen *>(app.getCurrentState().get());
  ASSERT_TRUE(title != nullptr);
  EXPECT_EQ(0.0f, title->getPromptAlpha());
  ASSERT_EQ(1280u * 720u * 3u, shot.size());
  if (const char *dir = std::getenv("MURMEL_SCREENSHOT_DIR"))
    PngFile::writeBottomUpRgb(std::string(dir) + "/TitleScreen.png", 1280, 720, shot);

  auto pixel = [&](int x, int y) {
    const size_t at = (static_cast<size_t>(719 - y) * 1280 + static_cast<size_t>(x)) * 3;
    return std::vector<int>{shot[at], shot[at + 1], shot[at + 2]};
  };
  // The title's white ink lies inside its box at (32, 32), 708 x 91; the
  // introduction still plays, so there is no prompt yet.
  int white = 0, whiteOutside = 0;
  countWhite(shot, white, whiteOutside);
  EXPECT_GT(white, 2000);
  EXPECT_LT(whiteOutside, 50);
  // The discs are centred: mirrored points about the centre match.
  for (const int offset : {100, 200, 300}) {
    EXPECT_EQ(pixel(640 - offset, 360), pixel(640 + offset - 1, 360)) << offset;
    EXPECT_EQ(pixel(640, 360 - offset), pixel(640, 360 + offset - 1)) << offset;
  }
  const std::vector<int> corner = pixel(1270, 300), centre = pixel(640, 360);
  EXPECT_NE(corner, centre);
}

TEST_F(ApplicationTest, DispatchTableAndMouseScaling) {
  settings.write("keyconfig.txt",
                 "\xEF\xBB\xBF"
                 "First x\nSecond x\n");
  SDL1_2Application app(murmelGame);
  CmdLineParams params({L"-win", L"-w", L"640", L"-h", L"360", L"-m"});
  app.initialise(params);
  pinLoadedLibraries();
  ASSERT_EQ(0, app.getExitStatus());
  EXPECT_TRUE(app.isMuted());
  app.registerGameState(L"Recorder", &RecordingState::creator, false);
  app.nextState(L"NoSuchState", L"");
  EXPECT_EQ("LoadingScreen", stateName(app));
  app.nextState(L"Recorder", L"");
  ASSERT_EQ("Recorder", stateName(app));

  Hook hook;
  hook.before = [&](SDL1_2Application &a, long frame) {
    if (frame == 1) {
      push(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 320, 180));
      push(button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 320, 180));
      push(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELUP, 10, 10));
      push(button(SDL_MOUSEBUTTONUP, SDL_BUTTON_WHEELUP, 10, 10));
      push(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELDOWN, 10, 10));
      push(key(SDL_KEYDOWN, SDLK_x));
      push(key(SDL_KEYDOWN, SDLK_F5, KMOD_LSHIFT));
      push(key(SDL_KEYUP, SDLK_ESCAPE));
      // The captions switch, taken by the shell.
      push(key(SDL_KEYDOWN, SDLK_c));
      push(key(SDL_KEYUP, SDLK_c));
    }
    if (frame == 3) {
      SDL_Event quit{};
      quit.type = SDL_QUIT;
      push(quit);
    }
    if (frame > 100) a.quit();
  };
  app.setFrameHook(&hook);
  EXPECT_FALSE(app.getAppSettings()->captions);
  app.eventLoop();
  EXPECT_EQ(4, app.getFrameCount());
  EXPECT_TRUE(app.getAppSettings()->captions);

  const std::vector<std::string> expected = {"mouseDown 1 640,360",  "mouseUp 1 640,360", "wheel up",
                                             "mouseUp 4 20,20",      "wheel down",        "keyDown 'First' 0 0",
                                             "keyDown 'Second' 0 0", "keyDown '' 0 2",    "keyUp 'Escape' 0"};
  EXPECT_EQ(expected, withoutPointerMotion(log));
}

// The page turns on a phone: the window takes its new size, the area its
// shape, and the pointer maps onto the whole of it.
TEST_F(ApplicationTest, AResizedWindowLaysTheAreaOutForItsShape) {
  SDL1_2Application app(murmelGame);
  CmdLineParams params({L"-win", L"-w", L"640", L"-h", L"360", L"-m"});
  app.initialise(params);
  pinLoadedLibraries();
  ASSERT_EQ(0, app.getExitStatus());
  app.registerGameState(L"Recorder", &RecordingState::creator, false);
  app.nextState(L"Recorder", L"");
  EXPECT_FALSE(app.resizeWindow(360, 0));  // a hidden page's canvas
  ASSERT_TRUE(app.resizeWindow(360, 640));

  std::vector<unsigned char> shot;
  Hook hook;
  hook.before = [&](SDL1_2Application &a, long frame) {
    if (frame == 0) push(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 180, 600));
    if (frame == 1) a.quit();
  };
  hook.after = [&](SDL1_2Application &a, long) { a.getDrawer()->getScreenPixels(shot); };
  app.setFrameHook(&hook);
  app.eventLoop();

  EXPECT_EQ(360, app.getWindowWidth());
  EXPECT_EQ(640, app.getWindowHeight());
  EXPECT_EQ(360u * 640u * 3u, shot.size());
  EXPECT_FLOAT_EQ(1280.0f * 640.0f / 360.0f, app.getDrawer()->getDrawingAreaSize().y);
  EXPECT_EQ((std::vector<std::string>{"mouseDown 1 640,2133.33"}), withoutPointerMotion(log));
}

TEST_F(ApplicationTest, AStateMaySwitchStatesFromInsideItsOwnCalls) {
  SDL1_2Application app(murmelGame);
  CmdLineParams params({L"-win", L"-w", L"320", L"-h", L"200"});
  app.initialise(params);
  pinLoadedLibraries();
  ASSERT_EQ(0, app.getExitStatus());
  app.registerGameState(L"Recorder", &RecordingState::creator, false);
  app.registerGameState(L"Switcher", &SwitchingState::creator, false);
  app.nextState(L"Switcher", L"");
  Hook hook;
  hook.before = [&](SDL1_2Application &a, long frame) {
    if (frame == 0) push(key(SDL_KEYDOWN, SDLK_a));
    if (frame == 5) a.quit();
  };
  app.setFrameHook(&hook);
  app.eventLoop();
  EXPECT_EQ((std::vector<std::string>{"switched on a key", "switched while drawing"}), withoutPointerMotion(log));
  EXPECT_EQ("Recorder", stateName(app));
}

TEST_F(ApplicationTest, StartStateIsTheTitleScreen) {
  SDL1_2Application app(murmelGame);
  CmdLineParams params({L"-win", L"-w", L"320", L"-h", L"200"});
  app.initialise(params);
  pinLoadedLibraries();
  ASSERT_EQ(0, app.getExitStatus());
  app.nextState(L"-start state-", L"");
  EXPECT_EQ("TitleScreen", stateName(app));
  EXPECT_TRUE(dynamic_cast<TitleScreen *>(app.getCurrentState().get()) != nullptr);
}

TEST_F(ApplicationTest, HelpStopsStartUpBeforeAnyWindow) {
  SDL1_2Application app(murmelGame);
  CmdLineParams params({L"--help"});
  testing::internal::CaptureStdout();
  app.initialise(params);
  const std::string usage = testing::internal::GetCapturedStdout();
  EXPECT_NE(std::string::npos, usage.find("Usage:\nMurmel Worlds -help -w [val]"));
  EXPECT_FALSE(app.getDrawer());
  EXPECT_FALSE(app.getCurrentState());
  EXPECT_EQ(0, app.getExitStatus());
  app.eventLoop();  // returns at once
  EXPECT_EQ(0, app.getFrameCount());
}

namespace {

// Hands over to the recorder on the action "First".
class HandingOverState final : public GameState {
 public:
  HandingOverState(Application *app, Sounder *sounder) : GameState(app, sounder) {}
  void draw(boost::shared_ptr<Drawer>) override {}
  void keyDown(const std::wstring &action, const std::wstring &, int) override {
    log.push_back("handing over on '" + narrowName(action) + "'");
    if (action == L"First") nextState(L"Recorder", L"");
  }
  std::wstring getName() const override { return L"HandingOver"; }
  static GameStateCreator<HandingOverState> creator;
};
GameStateCreator<HandingOverState> HandingOverState::creator;

SDL_Event motion(Uint16 x, Uint16 y) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.type = SDL_MOUSEMOTION;
  event.motion.x = x;
  event.motion.y = y;
  return event;
}

// The application with the recorder as its state, in a window of the given size.
void startRecording(SDL1_2Application &app, const wchar_t *width, const wchar_t *height) {
  CmdLineParams params({L"-win", L"-w", width, L"-h", height, L"-m"});
  app.initialise(params);
  pinLoadedLibraries();
  ASSERT_EQ(0, app.getExitStatus());
  app.registerGameState(L"Recorder", &RecordingState::creator, false);
  app.registerGameState(L"HandingOver", &HandingOverState::creator, false);
  app.nextState(L"Recorder", L"");
}

}  // namespace

TEST_F(ApplicationTest, EachActionGoesToTheStateCurrentWhenDelivered) {
  settings.write("keyconfig.txt",
                 "\xEF\xBB\xBF"
                 "First x\nSecond x\nFirst Joy0Button1\nSecond Joy0Button1\n");
  SDL1_2Application app(murmelGame);
  startRecording(app, L"320", L"200");
  SDL_Event joyButton{};
  joyButton.type = SDL_JOYBUTTONDOWN;
  joyButton.jbutton.type = SDL_JOYBUTTONDOWN;
  joyButton.jbutton.button = 1;
  Hook hook;
  hook.before = [&](SDL1_2Application &a, long frame) {
    if (frame == 1 || frame == 2) a.nextState(L"HandingOver", L"");
    if (frame == 1) push(key(SDL_KEYDOWN, SDLK_x));
    if (frame == 2) push(joyButton);
    if (frame == 3) a.quit();
  };
  app.setFrameHook(&hook);
  app.eventLoop();
  EXPECT_EQ((std::vector<std::string>{"handing over on 'First'", "keyDown 'Second' 0 0", "handing over on 'First'",
                                      "keyDown 'Second' 74 0"}),
            withoutPointerMotion(log));
}

TEST_F(ApplicationTest, QueuedMouseMotionReachesTheStateOncePerFrameInOrder) {
  SDL1_2Application app(murmelGame);
  startRecording(app, L"640", L"360");
  // Bursts of one-pixel moves, as a mouse polled at 1000 Hz sends them, with
  // a press and a release in between: each burst arrives as its last place,
  // before the event that follows it.
  std::set<std::string> ours;
  auto burst = [&](Uint16 fromX, Uint16 y, int count) {
    for (int i = 0; i < count; ++i) {
      push(motion(static_cast<Uint16>(fromX + i), y));
      ours.insert("mouseMove 0 " + std::to_string(2 * (fromX + i)) + "," + std::to_string(2 * y));
    }
  };
  Hook hook;
  hook.before = [&](SDL1_2Application &a, long frame) {
    if (frame == 2) {
      burst(100, 100, 40);
      push(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 139, 100));
      burst(200, 101, 10);
      push(button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 209, 101));
    }
    if (frame == 3) {
      burst(300, 150, 25);
      push(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 324, 150));
    }
    if (frame == 5) a.quit();
  };
  app.setFrameHook(&hook);
  app.eventLoop();
  // Pointer motion from the X server comes at other places; leave it out.
  std::vector<std::string> seen;
  for (const std::string &line : log) {
    if (line.rfind("mouseMove", 0) != 0 || ours.count(line)) seen.push_back(line);
  }
  EXPECT_EQ((std::vector<std::string>{"mouseMove 0 278,200", "mouseDown 1 278,200", "mouseMove 0 418,202",
                                      "mouseUp 1 418,202", "mouseMove 0 648,300", "mouseDown 3 648,300"}),
            seen);
}

TEST_F(ApplicationTest, MousePositionsStayInsideTheWindow) {
  SDL1_2Application app(murmelGame);
  startRecording(app, L"320", L"200");
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  struct Case {
    TwoFloats wanted;
    int x, y;  // window pixels
  } const cases[] = {
      {TwoFloats(100, 60), 100, 60}, {TwoFloats(-5, 10), 0, 10},       {TwoFloats(70000, 250), 319, 199},
      {TwoFloats(nan, 50), 319, 50}, {TwoFloats(1e30f, -inf), 319, 0}, {TwoFloats(12.9f, nan), 12, 0},
  };
  std::vector<std::string> reached;
  size_t next = 0;
  Hook hook;
  hook.before = [&](SDL1_2Application &a, long frame) {
    // One warp every few frames, read back once the X server has moved the pointer.
    if (frame % 4 == 3) {
      int x = -1, y = -1;
      SDL_GetMouseState(&x, &y);
      reached.push_back(std::to_string(x) + "," + std::to_string(y));
    }
    if (frame % 4 != 0) return;
    if (next < std::size(cases)) {
      a.setMousePos(cases[next++].wanted);
      return;
    }
    // An event from beyond the window (a grab, a synthetic one) lands on its edge.
    push(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 65535, 400));
    a.quit();
  };
  app.setFrameHook(&hook);
  app.eventLoop();
  std::vector<std::string> expected;
  for (const Case &c : cases) expected.push_back(std::to_string(c.x) + "," + std::to_string(c.y));
  EXPECT_EQ(expected, reached);
  EXPECT_EQ("mouseDown 1 1276,796", withoutPointerMotion(log).back());
}

TEST_F(ApplicationTest, AMissingSoundsFolderIsReportedOnceAndTheGamePlaysOn) {
  TempDir data;
  ScopedEnv env("MURMEL_WORLDS_DATA", data.path().c_str());
  testing::internal::CaptureStderr();
  {
    SDL1_2Application app(murmelGame);
    CmdLineParams params({L"-win", L"-w", L"320", L"-h", L"200", L"-m"});
    app.initialise(params);
    pinLoadedLibraries();
    ASSERT_EQ(0, app.getExitStatus());
    Hook hook;
    hook.before = [&](SDL1_2Application &a, long frame) {
      if (stateName(a) == "TitleScreen" || frame > 500) a.quit();
    };
    app.setFrameHook(&hook);
    app.eventLoop();
    EXPECT_EQ("TitleScreen", stateName(app));
  }
  const std::string errors = testing::internal::GetCapturedStderr();
  const std::string line =
      "Murmel Worlds: no \"sounds\" folder in \"" + data.path() + "\": playing without sound files\n";
  const size_t at = errors.find(line);
  ASSERT_NE(std::string::npos, at) << errors;
  // Once, and not again for each of the files that would have been in it.
  EXPECT_EQ(std::string::npos, errors.find(line, at + 1)) << errors;
  EXPECT_EQ(std::string::npos, errors.find(".ogg")) << errors;
}

namespace {

// The title's white ink in a bottom-up frame of any size: inside its box at
// (32, 32), 708 x 91 drawing-area units, and anywhere else but the corner
// where the prompt comes once the introduction has been spoken (a slow run
// gets that far).
void countTitleInk(const std::vector<unsigned char> &shot, int width, int height, int &inTitle, int &outside) {
  inTitle = outside = 0;
  const float unit = width / 1280.0f;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned char *p = &shot[(static_cast<size_t>(height - 1 - y) * width + x) * 3];
      if (p[0] < 250 || p[1] < 250 || p[2] < 250) continue;
      const float ux = x / unit, uy = y / unit;
      if (ux >= 1280 - 365 && uy >= 720 - 65) continue;
      (ux >= 32 && ux < 740 && uy >= 32 && uy < 123 ? inTitle : outside) += 1;
    }
  }
}

std::string pointer() {
  int x = -1, y = -1;
  SDL_GetMouseState(&x, &y);
  return std::to_string(x) + "," + std::to_string(y);
}

// A full-screen switch and the window's pixels after it.
struct Step {
  const char *keys;
  SDLKey sym;
  int mod;
  int width, height;
};
const Step fullScreenSteps[] = {
    {"opened", SDLK_UNKNOWN, KMOD_NONE, 640, 360},   {"F11", SDLK_F11, KMOD_NONE, 1920, 1080},
    {"Alt+Enter", SDLK_RETURN, KMOD_LALT, 640, 360}, {"Alt+keypad Enter", SDLK_KP_ENTER, KMOD_RALT, 1920, 1080},
    {"F11 again", SDLK_F11, KMOD_NONE, 640, 360},
};

// What a step should leave, in the words of sizesLine, pointerLine and the warp.
std::string expectedLine(const Step &step) {
  const int w = step.width, h = step.height;
  const std::string size = std::to_string(w) + "x" + std::to_string(h);
  return std::string(step.keys) + ": windowed " + (w == 640 ? "1" : "0") + ", X " + size + ", app " + size +
         ", drawer " + size + ", pointer " + std::to_string(w / 4) + "," + std::to_string(h / 4) + " = 320,180" +
         (w == 640 ? ", grab 0" : "") + ", warp " + std::to_string(w * 3 / 4) + "," + std::to_string(h * 3 / 4);
}

// The game's window id, once the X server lists it under its title: the
// server may not have taken the title in yet when the game has set it. "0"
// when it never shows.
std::string gameWindow(DesktopDisplay &desktop) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const unsigned long id = std::strtoul(desktop.run("xdotool search --name '^Murmel Worlds$'").c_str(), nullptr, 10);
    if (id != 0) return std::to_string(id);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return "0";
}

// Ends a test process that stops making progress, saying where it stood, well
// before the suite's time-out would end it without a word: a stall inside a
// library call and a merely slow run then read differently.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::seconds limit)
      : thread([this, limit] {
          std::unique_lock<std::mutex> lock(mutex);
          if (done.wait_for(lock, limit, [this] { return finished; })) return;
          std::fprintf(stderr, "stuck after %lld s at step %d, phase %d, frame %ld\n",
                       static_cast<long long>(limit.count()), step.load(), phase.load(), frame.load());
          std::abort();
        }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      finished = true;
    }
    done.notify_one();
    thread.join();
  }
  std::atomic<int> step{0}, phase{0};
  std::atomic<long> frame{0};

 private:
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  std::thread thread;
};

// The window's size as the X server has it, "WIDTHxHEIGHT".
std::string xWindowSize(DesktopDisplay &desktop, const std::string &window) {
  const std::string shell = desktop.run("xdotool getwindowgeometry --shell " + window);
  auto value = [&](const std::string &name) {
    const size_t at = shell.find(name + "=");
    return at == std::string::npos ? std::string("?")
                                   : shell.substr(at + name.size() + 1, shell.find('\n', at) - at - name.size() - 1);
  };
  return value("WIDTH") + "x" + value("HEIGHT");
}

// The mode and sizes as the X server, the application and the drawer see them.
std::string sizesLine(SDL1_2Application &a, const Step &now, const std::string &xSize) {
  const TwoFloats &drawn = a.getDrawer()->getWindowSize();
  return std::string(now.keys) + ": windowed " + (a.isWindowed() ? "1" : "0") + ", X " + xSize + ", app " +
         std::to_string(a.getWindowWidth()) + "x" + std::to_string(a.getWindowHeight()) + ", drawer " +
         std::to_string(static_cast<int>(drawn.x)) + "x" + std::to_string(static_cast<int>(drawn.y));
}

// Where the pointer at a quarter of the window lands, in window pixels and
// drawing-area units, and whether it is held. In full screen the pointer is
// grabbed and, the cursor hidden, SDL reads it relatively, which Xvfb's
// synthetic moves do not feed: there the quarter point is mapped as the
// pointer would report it.
std::string pointerLine(SDL1_2Application &a, const Step &now) {
  int x = now.width / 4, y = now.height / 4;
  if (a.isWindowed()) SDL_GetMouseState(&x, &y);
  const TwoFloats mapped = a.mouseToDrawer(TwoFloats(static_cast<float>(x), static_cast<float>(y)));
  std::ostringstream where;
  where << ", pointer " << x << "," << y << " = " << mapped.x << "," << mapped.y;
  if (a.isWindowed()) where << ", grab " << SDL_WM_GrabInput(SDL_GRAB_QUERY);
  return where.str();
}

// The title drawn whole at the step's size, and nothing outside it.
void expectTitleAtScale(const Step &step, size_t index, const std::vector<unsigned char> &shot) {
  const int w = step.width, h = step.height;
  ASSERT_EQ(static_cast<size_t>(w) * h * 3, shot.size()) << step.keys;
  if (const char *dir = std::getenv("MURMEL_SCREENSHOT_DIR"))
    PngFile::writeBottomUpRgb(std::string(dir) + "/FullScreen" + std::to_string(index) + ".png", w, h, shot);
  const float area = (w / 1280.0f) * (h / 720.0f);
  int inTitle = 0, outside = 0;
  countTitleInk(shot, w, h, inTitle, outside);
  EXPECT_GT(inTitle, 2000 * area) << step.keys;
  EXPECT_LT(outside, 50 * area) << step.keys;
}

// Walks through the steps one frame at a time: press the keys, wait for the
// window manager, read the sizes, move the pointer, warp it, and go on.
class FullScreenWalk {
 public:
  FullScreenWalk(DesktopDisplay &desktop, const std::string &window, Watchdog &watchdog)
      : desktop(desktop), window(window), watchdog(watchdog) {}

  void before(SDL1_2Application &a, long frame) {
    watchdog.frame = frame, watchdog.step = static_cast<int>(step), watchdog.phase = phase;
    if (Clock::now() > giveUp) a.quit();  // a guard, never reached when all is well
    if (frame < waitUntil) return;
    const Step &now = fullScreenSteps[step];
    const std::string wanted = std::to_string(now.width) + "x" + std::to_string(now.height);
    switch (phase) {
      case Title:
        // Well after the title has faded in.
        if (stateName(a) == "TitleScreen") phase = Keys, waitUntil = frame + 60;
        break;
      case Keys:
        if (now.sym != SDLK_UNKNOWN) {
          push(key(SDL_KEYDOWN, now.sym, now.mod));
          push(key(SDL_KEYUP, now.sym, now.mod));
        }
        phase = Resized, waitUntil = frame + 2;
        resizeDeadline = Clock::now() + std::chrono::seconds(10);
        break;
      case Resized:
        // The window manager takes its time; give it up to 10 seconds.
        if (xSize() == wanted || Clock::now() > resizeDeadline) phase = Shot, waitUntil = frame + 10;
        break;
      case Shot:
        line = sizesLine(a, now, xSize());
        if (a.isWindowed())
          desktop.run("xdotool mousemove --window " + window + " " + std::to_string(now.width / 4) + " " +
                      std::to_string(now.height / 4));
        phase = Pointer, waitUntil = frame + 5;
        break;
      case Pointer:
        line += pointerLine(a, now);
        a.setMousePos(TwoFloats(now.width * 0.75f, now.height * 0.75f));
        phase = Warp, waitUntil = frame + 5;
        break;
      case Warp:
        seen.push_back(line + ", warp " + pointer());
        phase = Keys;
        if (++step == std::size(fullScreenSteps)) a.quit();
        break;
    }
  }

  void after(SDL1_2Application &a) {
    if (phase == Pointer && shots[step].empty()) a.getDrawer()->getScreenPixels(shots[step]);
  }

  std::vector<std::string> seen;  // per step, in the words of expectedLine
  std::vector<std::vector<unsigned char>> shots = std::vector<std::vector<unsigned char>>(std::size(fullScreenSteps));

 private:
  using Clock = std::chrono::steady_clock;
  enum Phase { Title, Keys, Resized, Shot, Pointer, Warp };
  std::string xSize() const { return xWindowSize(desktop, window); }

  DesktopDisplay &desktop;
  const std::string window;
  Watchdog &watchdog;
  Phase phase = Title;
  size_t step = 0;
  long waitUntil = 0;
  std::string line;
  const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(90);
  Clock::time_point resizeDeadline;
};

}  // namespace

TEST_F(ApplicationTest, FullScreenKeysSwitchBackAndForthKeepingPictureAndMouse) {
  DesktopDisplay desktop(1920, 1080);
  ASSERT_TRUE(desktop.ready()) << "needs Xvfb and openbox";
  Watchdog watchdog(std::chrono::seconds(150));  // frame 0: before the first frame
  ScopedEnv display("DISPLAY", desktop.name().c_str());
  const FilePath buildData = FilePath::getCurrentExecutableDir().getParent().getChild(L"data");
  ScopedEnv data("MURMEL_WORLDS_DATA", buildData.getUtf8Path().c_str());
  SDL1_2Application app(murmelGame);
  CmdLineParams params({L"-win", L"-w", L"640", L"-h", L"360", L"-m"});
  app.initialise(params);
  pinLoadedLibraries();
  ASSERT_EQ(0, app.getExitStatus());
  const std::string window = gameWindow(desktop);
  ASSERT_NE("0", window) << "the game's window never showed under its title";

  FullScreenWalk walk(desktop, window, watchdog);
  Hook hook;
  hook.before = [&](SDL1_2Application &a, long frame) { walk.before(a, frame); };
  hook.after = [&](SDL1_2Application &a, long) { walk.after(a); };
  app.setFrameHook(&hook);
  app.eventLoop();

  // Per step: the sizes, the pointer, and where a warp to three quarters puts it.
  std::vector<std::string> expected;
  for (const Step &step : fullScreenSteps) expected.push_back(expectedLine(step));
  EXPECT_EQ(expected, walk.seen);
  // The title's texture survives every switch, drawn to the new scale.
  for (size_t i = 0; i < std::size(fullScreenSteps); ++i) expectTitleAtScale(fullScreenSteps[i], i, walk.shots[i]);
}
