#include "base/FilePath.h"
#include "base/UTF8File.h"
#include "framework/drawing/ImageLoader.h"

#include "support/GameProcess.h"
#include "support/RobotMarks.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>

namespace {

ImageLoader::ImageData loadPng(const std::string &path) {
  std::wstring wide;
  UTF8File::charToWstring(path, wide);
  return ImageLoader().loadImage(FilePath(wide));
}

bool loads(const std::string &path) {
  std::unique_ptr<unsigned char[]> pixels(loadPng(path).data);
  return pixels != nullptr;
}

// The share of a PNG's pixels within 1 of the colour in each channel; 0 when it does not load.
double shareOfColour(const std::string &path, const int rgb[3]) {
  const ImageLoader::ImageData image = loadPng(path);
  std::unique_ptr<unsigned char[]> pixels(image.data);
  if (!image.data) return 0.0;
  long matching = 0;
  const long count = long(image.width) * image.height;
  for (long i = 0; i < count; ++i) {
    const unsigned char *p = &image.data[i * 4];
    if (std::abs(p[0] - rgb[0]) <= 1 && std::abs(p[1] - rgb[1]) <= 1 && std::abs(p[2] - rgb[2]) <= 1) ++matching;
  }
  return double(matching) / double(count);
}

// The samples of a 16-bit stereo WAV file at 44100 Hz; empty when it is not one.
std::vector<int16_t> readWav(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto number = [&](size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
  };
  if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 8, "WAVEfmt ") != 0 ||
      number(20, 2) != 1 || number(22, 2) != 2 || number(24, 4) != 44100 || number(34, 2) != 16 ||
      bytes.compare(36, 4, "data") != 0 || number(40, 4) != bytes.size() - 44)
    return {};
  std::vector<int16_t> samples((bytes.size() - 44) / 2);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(number(44 + i * 2, 2));
  return samples;
}

// Every milestone of a playthrough, in order.
const std::vector<std::string> allMarks = {"title screen", "prompt",  "click",    "world 0", "world 1",
                                           "world 2",      "world 3", "world 4",  "world 5", "world 6",
                                           "world 7",      "closing", "gathered", "fade",    "quit"};

// A persona plays the whole game in a small window of a screen's shape,
// uncapped but for the red flash's world, seeing only the screen, and it
// reaches every milestone. With stallAudioWorld from 0 to 7 the audio device
// stops calling back in that world, and the game has to go on without it.
void playAs(const std::string &persona, const std::string &width, const std::string &height, int stallAudioWorld = -1) {
#ifdef MURMEL_SANITIZED
  GTEST_SKIP() << "a person's playthrough in a plain build only";
#endif
  TempDir home;
  std::vector<std::string> arguments = {"--persona", persona, "--uncapped", "-win",         "-w",
                                        width,       "-h",    height,       "--max-frames", "60000"};
  std::vector<std::string> marks = allMarks;
  if (stallAudioWorld >= 0) {
    const std::string world = std::to_string(stallAudioWorld);
    arguments.insert(arguments.end(), {"--stall-audio", world});
    marks.insert(std::find(marks.begin(), marks.end(), "world " + world) + 1, "audio stalled");
  }
  GameProcess robot(GameProcess::builtProgram("murmel-worlds-autoplay"), arguments,
                    {"HOME=" + home.path(), "XDG_CONFIG_HOME=", "MURMEL_WORLDS_DATA=", "SDL_AUDIODRIVER=dummy"});
  ASSERT_TRUE(robot.started());
  ASSERT_EQ(0, robot.waitForExit(280)) << robot.errorOutput() << robot.output();
  std::vector<std::string> order;
  for (const RobotMark &mark : readRobotMarks(robot.output())) order.push_back(mark.what);
  EXPECT_EQ(marks, order) << robot.output();
}

}  // namespace

// The robot plays the whole game uncapped in a small window, its sound
// recorded by SDL's disk driver: every world in order, the closing sequence,
// the fade and the quit; each world's own background in its picture; sound
// in every world, and the mix's clamp almost never reached.
TEST(Playthrough, TheRobotFinishesTheGame) {
  TempDir home, out;
  const std::string wav = out.path() + "/sound.wav";
  GameProcess robot(GameProcess::builtProgram("murmel-worlds-autoplay"),
                    {"--uncapped", "-win", "-w", "640", "-h", "360", "--screenshots", out.path(), "--wav", wav,
                     "--max-frames", "300000"},
                    {"HOME=" + home.path(), "XDG_CONFIG_HOME=", "MURMEL_WORLDS_DATA=", "SDL_AUDIODRIVER=disk",
                     "SDL_DISKAUDIOFILE=" + out.path() + "/sound.raw"});
  ASSERT_TRUE(robot.started());
  ASSERT_EQ(0, robot.waitForExit(240)) << robot.errorOutput() << robot.output();

  const std::vector<RobotMark> marks = readRobotMarks(robot.output());
  std::vector<std::string> order;
  std::map<std::string, RobotMark> byName;
  for (const RobotMark &mark : marks) {
    order.push_back(mark.what);
    byName[mark.what] = mark;
  }
  ASSERT_EQ(allMarks, order) << robot.output();
  // The closing sequence lasts 1600 frames, the fade about 100 more.
  EXPECT_NEAR(1600 + 100, byName["quit"].frame - byName["closing"].frame, 10);

  // Each world's background colour, as 0-255 triples; the first one's warms as the robot finds the spot.
  const int backgrounds[8][3] = {{115, 115, 115}, {50, 56, 180}, {134, 172, 136}, {233, 250, 185},
                                 {184, 113, 180}, {97, 154, 30}, {0, 0, 0},       {143, 141, 40}};
  for (int world = 1; world < 8; ++world)
    EXPECT_GT(shareOfColour(out.path() + "/world-" + std::to_string(world) + ".png", backgrounds[world]), 0.5)
        << "world " << world;
  for (const char *name : {"title", "world-0", "captions", "gathering", "end", "contact-sheet"})
    EXPECT_TRUE(loads(out.path() + "/" + name + ".png")) << name;

  const std::vector<int16_t> samples = readWav(wav);
  ASSERT_FALSE(samples.empty()) << "no 16-bit stereo WAV at 44100 Hz";
  const char *sections[] = {"world 0", "world 1", "world 2", "world 3", "world 4",
                            "world 5", "world 6", "world 7", "closing"};
  for (int world = 0; world < 8; ++world) {
    const long from = byName[sections[world]].audioFrame, to = byName[sections[world + 1]].audioFrame;
    ASSERT_GE(from, 0) << robot.output();
    // At least one device block, however fast the world went by.
    const size_t begin = size_t(from) * 2, end = std::min(samples.size(), size_t(std::max(to, from + 4096)) * 2);
    ASSERT_LT(begin, end) << "world " << world;
    double power = 0.0;
    for (size_t i = begin; i < end; ++i) power += double(samples[i]) * samples[i];
    // Above 1 % of full scale.
    EXPECT_GT(std::sqrt(power / double(end - begin)), 328.0) << "world " << world;
  }
  // The mix is clamped to -1 .. 1 and then scaled by 0.75.
  long clamped = 0;
  for (int16_t sample : samples) clamped += std::abs(int(sample)) >= 24575 ? 1 : 0;
  EXPECT_LT(double(clamped) / double(samples.size()), 0.001);
}

// A person of steady habits on a 16:9 screen, whose sound device stops in the
// third world (the bars of the fourth must still come), and a slow one on a
// tall 9:16 screen.
TEST(Playthrough, ACalmPersonFinishesOnAWideScreenThoughTheSoundDeviceStops) { playAs("calm", "640", "360", 2); }
TEST(Playthrough, ASlowPersonFinishesTheGameOnATallScreen) { playAs("slow", "270", "480"); }

// The same calm hand playing for the first time at 1280 x 720 works out the
// first seven worlds from what the screen answers, noticing the answers; the
// last world (steer, find the place, then circles) it either works out too or
// gives up on after its three minutes, saying so.
TEST(Playthrough, ACalmFirstTimePlayerWorksOutTheWorlds) {
#ifdef MURMEL_SANITIZED
  GTEST_SKIP() << "a person's playthrough in a plain build only";
#endif
  TempDir home;
  GameProcess robot(GameProcess::builtProgram("murmel-worlds-autoplay"),
                    {"--persona", "calm", "--first-time", "--seed", "1", "--uncapped", "-win", "-w", "1280", "-h",
                     "720", "--max-frames", "80000"},
                    {"HOME=" + home.path(), "XDG_CONFIG_HOME=", "MURMEL_WORLDS_DATA=", "SDL_AUDIODRIVER=dummy"});
  ASSERT_TRUE(robot.started());
  // A newcomer takes its time, and 1280 x 720 draws slowly here.
  const int status = robot.waitForExit(840);
  std::vector<std::string> order;
  int answers = 0;
  for (const RobotMark &mark : readRobotMarks(robot.output())) {
    if (mark.what.rfind("answer in world ", 0) == 0)
      ++answers;
    else
      order.push_back(mark.what);
  }
  const auto world7 = std::find(allMarks.begin(), allMarks.end(), "world 7");
  const std::vector<std::string> upToWorld7(allMarks.begin(), world7 + 1);
  if (status == 0) {
    EXPECT_EQ(allMarks, order) << robot.output();
  } else {
    EXPECT_EQ(upToWorld7, order) << robot.errorOutput() << robot.output();
    EXPECT_NE(std::string::npos, robot.errorOutput().find("the first-time player gave up on world 7 after 180 s"))
        << robot.errorOutput();
  }
  EXPECT_GE(answers, 5) << robot.output();
}

// The start-up measurement: the run ends at the first frame the title screen
// draws, after the loading screen's 69, and the time it reports counts from
// the process's start, so it cannot be shorter than those frames at the cap.
TEST(Playthrough, UntilTitleStopsAtTheTitleScreensFirstFrame) {
  TempDir home;
  GameProcess robot(GameProcess::builtProgram("murmel-worlds-autoplay"),
                    {"--until-title", "-win", "-w", "320", "-h", "180"},
                    {"HOME=" + home.path(), "XDG_CONFIG_HOME=", "MURMEL_WORLDS_DATA=", "SDL_AUDIODRIVER=dummy"});
  ASSERT_TRUE(robot.started());
  ASSERT_EQ(0, robot.waitForExit(60)) << robot.errorOutput() << robot.output();

  double seconds = 0.0;
  long frames = 0;
  ASSERT_EQ(2, std::sscanf(robot.output().c_str(), "title frame after %lf s (%ld frames)", &seconds, &frames))
      << robot.output();
  EXPECT_EQ(70, frames);
  EXPECT_GT(seconds, 68 * (1.0 / 60.0));
}
