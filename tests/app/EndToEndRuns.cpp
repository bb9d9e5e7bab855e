#include "base/FilePath.h"
#include "support/GameProcess.h"
#include "support/PngFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <utility>

namespace {

bool exists(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

std::vector<std::string> freshHome(const TempDir &home) {
  return {"HOME=" + home.path(), "XDG_CONFIG_HOME=", "SDL_AUDIODRIVER=dummy", "MURMEL_WORLDS_DATA="};
}

void sleepSeconds(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

// Escape quits from the title screen and is ignored while loading, so press it
// until the program ends; its exit status, or -1.
int quitWithEscape(GameProcess &game, unsigned long window) {
  for (int attempt = 0; attempt < 60; ++attempt) {
    game.pressKey(window, "Escape");
    const int status = game.waitForExit(1);
    if (status >= 0) return status;
  }
  return game.waitForExit(1);
}

// The title's white ink inside its box at (32, 32), 708 x 91, and anywhere else.
void countInk(const std::vector<unsigned char> &shot, int &titleInk, int &inkElsewhere) {
  titleInk = inkElsewhere = 0;
  for (int y = 0; y < 720; ++y) {
    for (int x = 0; x < 1280; ++x) {
      const unsigned char *p = &shot[(size_t(y) * 1280 + x) * 3];
      if (p[0] < 250 || p[1] < 250 || p[2] < 250) continue;
      (x >= 32 && x < 740 && y >= 32 && y < 123 ? titleInk : inkElsewhere) += 1;
    }
  }
}

// A screenshot of a 1280 x 720 window once the title screen shows.
std::vector<unsigned char> waitForTitle(GameProcess &game, unsigned long window) {
  // Loading takes 69 frames at no more than 60 a second, and the title fades
  // in over 50: look until the title shows, for a slow machine's sake.
  int width = 0, height = 0, titleInk = 0, inkElsewhere = 0;
  std::vector<unsigned char> shot;
  for (int attempt = 0; attempt < 60 && titleInk <= 2000; ++attempt) {
    sleepSeconds(0.5);
    shot = game.screenshot(window, width, height);
    if (shot.size() == 1280u * 720u * 3u) countInk(shot, titleInk, inkElsewhere);
  }
  // A little longer, so the fade-in is over.
  sleepSeconds(1.0);
  shot = game.screenshot(window, width, height);
  EXPECT_EQ(1280, width);
  EXPECT_EQ(720, height);
  return shot;
}

// A PNG file's width and height from its header; 0 x 0 when it is none.
std::pair<int, int> pngSize(const std::string &bytes) {
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
  auto word = [&](size_t at) {
    const auto *b = reinterpret_cast<const unsigned char *>(bytes.data() + at);
    return int(b[0]) << 24 | int(b[1]) << 16 | int(b[2]) << 8 | int(b[3]);
  };
  return {word(16), word(20)};
}

}  // namespace

TEST(EndToEnd, ReachesTheTitleScreenAndQuitsOnEscapeLeavingBothFiles) {
  TempDir home;
  GameProcess game(GameProcess::builtProgram(), {"-win", "-w", "1280", "-h", "720"}, freshHome(home));
  ASSERT_TRUE(game.started());
  const unsigned long window = game.findWindow(20);
  ASSERT_NE(0ul, window) << game.errorOutput();
  const std::vector<unsigned char> shot = waitForTitle(game, window);
  ASSERT_EQ(1280u * 720u * 3u, shot.size());
  if (const char *dir = std::getenv("MURMEL_SCREENSHOT_DIR")) {
    // PngFile writes bottom-up rows, as a drawer reads them.
    std::vector<unsigned char> bottomUp(shot.size());
    for (int y = 0; y < 720; ++y)
      std::copy(shot.begin() + y * 1280 * 3, shot.begin() + (y + 1) * 1280 * 3,
                bottomUp.begin() + (719 - y) * 1280 * 3);
    PngFile::writeBottomUpRgb(std::string(dir) + "/EndToEndTitle.png", 1280, 720, bottomUp);
  }
  int titleInk = 0, inkElsewhere = 0;
  countInk(shot, titleInk, inkElsewhere);
  EXPECT_GT(titleInk, 2000);
  EXPECT_LT(inkElsewhere, 50);
  const unsigned char *left = &shot[(size_t(360) * 1280 + 440) * 3], *right = &shot[(size_t(360) * 1280 + 839) * 3];
  EXPECT_EQ(std::vector<int>(left, left + 3), std::vector<int>(right, right + 3));

  EXPECT_EQ(0, quitWithEscape(game, window)) << game.errorOutput();
  EXPECT_TRUE(exists(home.path() + "/.config/Murmel Worlds/config.txt"));
  EXPECT_TRUE(exists(home.path() + "/.config/Murmel Worlds/keyconfig.txt"));
}

TEST(EndToEnd, HelpPrintsUsageAndOpensNoWindow) {
  TempDir home;
  std::vector<std::string> environment = freshHome(home);
  environment.push_back("DISPLAY=");
  GameProcess game(GameProcess::builtProgram(), {"--help"}, environment);
  EXPECT_EQ(0, game.waitForExit(20));
  EXPECT_EQ("", game.errorOutput());
}

TEST(EndToEnd, WithoutAHomeFolderSaysSoInOneLine) {
  // A user the password database does not know, with no $HOME: only root
  // can become one.
  if (geteuid() != 0 || !exists("/usr/bin/setpriv")) GTEST_SKIP() << "needs root and setpriv";
  uid_t stranger = 54321;
  while (getpwuid(stranger)) ++stranger;
  const std::string id = std::to_string(stranger);
  TempDir home;
  std::vector<std::string> environment = freshHome(home);
  environment.push_back("HOME=");
  environment.push_back("DISPLAY=");
  // "--help" writes "config.txt" on a first run, and needs no window.
  GameProcess game("/usr/bin/setpriv",
                   {"--reuid=" + id, "--regid=" + id, "--clear-groups", GameProcess::builtProgram(), "--help"},
                   environment);
  EXPECT_EQ(0, game.waitForExit(20));
  EXPECT_EQ(
      "Murmel Worlds: no home folder known ($HOME is not set and the user has none): settings are neither read nor "
      "saved\n",
      game.errorOutput());
}

TEST(EndToEnd, NoDisplayFailsWithOneClearLine) {
  TempDir home;
  std::vector<std::string> environment = freshHome(home);
  environment.push_back("DISPLAY=");
  environment.push_back("WAYLAND_DISPLAY=");
  GameProcess game(GameProcess::builtProgram(), {"-win"}, environment);
  EXPECT_EQ(1, game.waitForExit(20));
  EXPECT_NE(std::string::npos, game.errorOutput().find("Murmel Worlds: cannot open the window: no display"))
      << game.errorOutput();
}

TEST(EndToEnd, BadSizesStartOrFailClearly) {
  for (const char *width : {"abc", "-5", "0"}) {
    TempDir home;
    GameProcess game(GameProcess::builtProgram(), {"-win", "-w", width, "-h", "300"}, freshHome(home));
    const unsigned long window = game.findWindow(20);
    ASSERT_NE(0ul, window) << width << ": " << game.errorOutput();
    EXPECT_EQ(0, quitWithEscape(game, window)) << width;
  }
  TempDir home;
  GameProcess huge(GameProcess::builtProgram(), {"-win", "-w", "100000", "-h", "300"}, freshHome(home));
  EXPECT_EQ(1, huge.waitForExit(20));
  EXPECT_NE(std::string::npos, huge.errorOutput().find("Murmel Worlds: cannot open the window: "));
}

TEST(EndToEnd, MissingDataFolderStillPlays) {
  // A copy of the program with no "data" beside it.
  TempDir home, elsewhere;
  const std::string copy = elsewhere.path() + "/murmel-worlds";
  ASSERT_EQ(0, std::system(("cp '" + GameProcess::builtProgram() + "' '" + copy + "'").c_str()));
  GameProcess game(copy, {"-win", "-w", "640", "-h", "360"}, freshHome(home));
  const unsigned long window = game.findWindow(20);
  ASSERT_NE(0ul, window) << game.errorOutput();
  EXPECT_EQ(0, quitWithEscape(game, window));
  EXPECT_NE(std::string::npos, game.errorOutput().find("Murmel Worlds: sound files not found"));
}

TEST(EndToEnd, InstalledProgramRunsFromItsPrefix) {
  TempDir prefix, home;
  const std::string build = FilePath::getCurrentExecutableDir().getParent().getUtf8Path();
  ASSERT_EQ(0, std::system(("cmake --install '" + build + "' --prefix '" + prefix.path() + "' >/dev/null").c_str()));
  const std::string share = prefix.path() + "/share/";
  // Each installed file passes the check its desktop applies; the manual
  // page formats without a warning.
  for (const std::string &check : {"desktop-file-validate '" + share + "applications/murmel-worlds.desktop'",
                                   "appstreamcli validate --no-net '" + share + "metainfo/murmel-worlds.metainfo.xml'",
                                   "test -z \"$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z '" +
                                       share + "man/man6/murmel-worlds.6.gz' 2>&1 >/dev/null)\""})
    EXPECT_EQ(0, std::system((check + " >/dev/null").c_str())) << check;
  for (const int side : {16, 32, 48, 64, 128, 256}) {
    const std::string size = std::to_string(side) + "x" + std::to_string(side);
    EXPECT_EQ(std::make_pair(side, side),
              pngSize(prefix.readFile("share/icons/hicolor/" + size + "/apps/murmel-worlds.png")))
        << size;
  }

  // A stray "data" beside the installed program must not hide the installed
  // sounds; the test's own folder is neither the prefix nor the sources.
  ASSERT_EQ(0, mkdir((prefix.path() + "/bin/data").c_str(), 0775));
  GameProcess game(prefix.path() + "/bin/murmel-worlds", {"-win", "-w", "1280", "-h", "720"}, freshHome(home));
  const unsigned long window = game.findWindow(20);
  ASSERT_NE(0ul, window) << game.errorOutput();
  const std::vector<unsigned char> shot = waitForTitle(game, window);
  int titleInk = 0, inkElsewhere = 0;
  if (shot.size() == 1280u * 720u * 3u) countInk(shot, titleInk, inkElsewhere);
  EXPECT_GT(titleInk, 2000);
  EXPECT_EQ(0, quitWithEscape(game, window));
  // The game names any missing data on standard error.
  EXPECT_EQ(std::string::npos, game.errorOutput().find("Murmel Worlds:")) << game.errorOutput();
}

TEST(EndToEnd, DebianPackageAsksForTheTestedSdlFirstAndPassesLintian) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "a sanitizer build is never packaged";
#endif
  TempDir out;
  const std::string build = FilePath::getCurrentExecutableDir().getParent().getUtf8Path();
  const std::string deb = "'" + out.path() + "'/murmel-worlds_*.deb";
  ASSERT_EQ(0, std::system(("cpack --config '" + build + "/CPackConfig.cmake' -B '" + out.path() + "' >/dev/null && " +
                            "dpkg-deb -f " + deb + " Depends >'" + out.path() + "/depends' && dpkg-deb -c " + deb +
                            " >'" + out.path() + "/contents'")
                               .c_str()));
  // apt fills an or-group with its first alternative and works through the
  // relations in order: were the image library's plain "libsdl1.2debian"
  // reached first, a clean system would get the old SDL 1.2.
  const std::string depends = out.readFile("depends");
  EXPECT_EQ(0u, depends.find("libsdl1.2-compat-shim (>= 1.2.60) | libsdl1.2debian (>= 1.2.15), ")) << depends;
  const std::string contents = out.readFile("contents");
  EXPECT_NE(std::string::npos, contents.find(" ./usr/games/murmel-worlds\n")) << contents;
  EXPECT_EQ(std::string::npos, contents.find("./usr/bin/")) << contents;
  EXPECT_EQ(0, std::system(("lintian --fail-on error " + deb + " >/dev/null 2>&1").c_str()));
}

namespace {

// The lines of standard error that are not the program's own.
std::string foreignLines(const std::string &errors) {
  std::string foreign;
  size_t from = 0;
  while (from < errors.size()) {
    const size_t end = std::min(errors.find('\n', from), errors.size());
    const std::string line = errors.substr(from, end - from);
    if (line.rfind("Murmel Worlds: ", 0) != 0) foreign += line + "\n";
    from = end + 1;
  }
  return foreign;
}

}  // namespace

TEST(EndToEnd, OnlyTheProgramsOwnLinesReachTheTerminalUnlessDebugging) {
  // Real audio probing (no dummy driver), no Wayland session: on a machine
  // without a sound card or a JACK server, ALSA, JACK and the Wayland client
  // each have something to say.
  struct Case {
    const char *what;
    bool display;
    const char *audioApi;
    bool debugging;
  } const cases[] = {
      {"SDL audio", true, "SDL", false},
      {"PortAudio over ALSA", true, "ALSA", false},
      {"no display", false, "SDL", false},
      {"PortAudio over ALSA, debugging", true, "ALSA", true},
      {"no display, debugging", false, "SDL", true},
  };
  for (const Case &c : cases) {
    TempDir home;
    std::vector<std::string> environment = freshHome(home);
    for (const char *setting : {"SDL_AUDIODRIVER=", "WAYLAND_DISPLAY=", "XDG_RUNTIME_DIR="})
      environment.push_back(setting);
    environment.push_back(c.debugging ? "MURMEL_WORLDS_DEBUG=1" : "MURMEL_WORLDS_DEBUG=");
    if (!c.display) environment.push_back("DISPLAY=");
    GameProcess game(GameProcess::builtProgram(), {"-win", "-w", "320", "-h", "180", "-a", c.audioApi}, environment);
    if (c.display) {
      const unsigned long window = game.findWindow(20);
      ASSERT_NE(0ul, window) << c.what << ": " << game.errorOutput();
      EXPECT_EQ(0, quitWithEscape(game, window)) << c.what;
    } else {
      EXPECT_EQ(1, game.waitForExit(20)) << c.what;
      EXPECT_NE(std::string::npos, game.errorOutput().find("Murmel Worlds: cannot open the window")) << c.what;
    }
    const std::string foreign = foreignLines(game.errorOutput());
    if (c.debugging)
      EXPECT_NE("", foreign) << c.what;
    else
      EXPECT_EQ("", foreign) << c.what;
  }
}
