#include "framework/app/CmdLineParams.h"
#include "framework/app/GameFlags.h"

#include "support/SettingsFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <utility>
#include <vector>

namespace {

const std::string bom = "\xEF\xBB\xBF";

class Recorder final : public CmdLineCallback {
 public:
  void cmdLineParameterFound(const std::wstring &name, const std::wstring &value) override {
    calls.emplace_back(name, value);
  }
  std::vector<std::pair<std::wstring, std::wstring>> calls;
};

std::vector<std::pair<std::wstring, std::wstring>> run(const std::vector<std::wstring> &arguments) {
  CmdLineParams params(arguments);
  Recorder recorder;
  GameFlags::registerWith(params, &recorder);
  testing::internal::CaptureStdout();
  params.handleParameters();
  testing::internal::GetCapturedStdout();
  return recorder.calls;
}

using Calls = std::vector<std::pair<std::wstring, std::wstring>>;

}  // namespace

TEST(CmdLineParams, UsageTextExactly) {
  SettingsFolder settings;
  CmdLineParams params({L"--help"});
  Recorder recorder;
  GameFlags::registerWith(params, &recorder);
  testing::internal::CaptureStdout();
  params.handleParameters();
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(
      "\nMurmel Worlds\n\nUsage:\nMurmel Worlds -help -w [val] -h [val] -win -m -a [val] -help\n\nFlags:\n"
      "--width [val] | -w [val]:\tSet the width of the window.\n"
      "--height [val] | -h [val]:\tSet the height of the window.\n"
      "--window | -win:\t\tSets whether to start the game in a window rather than fullscreen.\n"
      "--mute | -m:\t\tSwitches off the sound output.\n"
      "--audio-api [name] | -a [name]:\t\tSets the audio API to use.  Can be SDL, DirectSound, ASIO, MME, ALSA, "
      "JACK, OSS, CoreAudio.\n"
      "--help | -h:\t\t\t\tDisplay this help.\n",
      printed);
  EXPECT_EQ((Calls{{L"help", L""}}), recorder.calls);
}

TEST(CmdLineParams, FirstRunWritesDefaultsInKeyOrder) {
  SettingsFolder settings;
  EXPECT_EQ(Calls{}, run({}));
  EXPECT_EQ(bom + "-a SDL\n-h -1\n-help 0\n-m 0\n-w -1\n-win 0\n", settings.read("config.txt"));
}

TEST(CmdLineParams, FirstRunRecordsGivenValuesButNeverHelp) {
  SettingsFolder settings;
  const Calls calls = run({L"-win", L"--width", L"800", L"--help"});
  EXPECT_EQ((Calls{{L"width", L"800"}, {L"window", L""}, {L"help", L""}}), calls);
  EXPECT_EQ(bom + "-a SDL\n-h -1\n-help 0\n-m 0\n-w 800\n-win 1\n", settings.read("config.txt"));
  // The next start without arguments does not take help from the file.
  EXPECT_EQ((Calls{{L"width", L"800"}, {L"height", L"-1"}, {L"window", L""}, {L"audioAPI", L"SDL"}}), run({}));
}

TEST(CmdLineParams, ExistingFileIsNeverRewritten) {
  SettingsFolder settings;
  const std::string handMade = bom + "-w 640\n-win 1\n";
  settings.write("config.txt", handMade);
  run({L"-w", L"1024", L"-m"});
  EXPECT_EQ(handMade, settings.read("config.txt"));
}

TEST(CmdLineParams, FlagsComeFromTheFileOnlyWithoutArguments) {
  SettingsFolder settings;
  settings.write("config.txt", bom + "-win 1\n-m 0\n-w  800\n-h 600\n");
  EXPECT_EQ((Calls{{L"width", L" 800"}, {L"height", L"600"}, {L"window", L""}}), run({}));
  EXPECT_EQ((Calls{{L"width", L"1024"}, {L"height", L"600"}}), run({L"-w", L"1024"}));
}

TEST(CmdLineParams, FileReadingRules) {
  SettingsFolder settings;
  // A line without a space sets key and value to the whole line; unknown keys
  // stay without effect; the last line without a line feed is not applied.
  settings.write("config.txt", bom + "-win\n-zoom 3\n-a ALSA");
  EXPECT_EQ((Calls{{L"window", L""}}), run({}));
}

TEST(CmdLineParams, MatchingRules) {
  SettingsFolder settings;
  settings.write("config.txt", bom + "-h 600\n");
  // First occurrence wins; the long form is matched first at a position;
  // a value is not consumed; callbacks go in registration order.
  EXPECT_EQ((Calls{{L"width", L"800"}, {L"height", L"600"}}), run({L"-w", L"800", L"-w", L"1024"}));
  EXPECT_EQ((Calls{{L"width", L"-h"}, {L"height", L"5"}}), run({L"-w", L"-h", L"5"}));
  EXPECT_EQ((Calls{{L"width", L""}, {L"height", L"600"}}), run({L"-w"}));
  EXPECT_EQ((Calls{{L"height", L"600"}, {L"mute", L""}}), run({L"--width=800", L"--mute"}));
  EXPECT_EQ((Calls{{L"height", L"600"}}), run({L"-W", L"800"}));
}

TEST(CmdLineParams, UnusableSettingsFolderStillParses) {
  SettingsFolder settings;
  // A folder where the file should be: read as missing, nothing written over it.
  settings.write("placeholder", "");
  ASSERT_EQ(0, ::mkdir(settings.file("config.txt").c_str(), 0775));
  EXPECT_EQ((Calls{{L"width", L"5"}}), run({L"-w", L"5"}));

  // Random bytes and invalid UTF-8 in the file.
  SettingsFolder garbage;
  std::string bytes = bom;
  for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<char>((i * 7919) % 251));
  garbage.write("config.txt", bytes + "\n-w \xC0\xAF\n");
  const Calls calls = run({L"-m"});
  EXPECT_EQ(L"mute", calls.back().first);
  EXPECT_EQ(bytes + "\n-w \xC0\xAF\n", garbage.read("config.txt"));
}
