#include <gtest/gtest.h>

#include <sys/stat.h>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/FilePath.h"
#include "support/DecodedOgg.h"
#include "support/ScopedEnv.h"

namespace {

const long barFrames = 44100;

struct Loop {
  const char *name;
  int bars;
};

const Loop loops[] = {{"ClackyThing", 8},     {"HandDrum", 8},   {"Scraper", 8},
                      {"DanglyDrumThing", 8}, {"FingerBell", 8}, {"RainStick", 8},
                      {"SingingBowl", 16},    {"Drone1", 16},    {"Music", 32}};

const char *const speeches[] = {"Speech_Intro",  "Speech_World0", "Speech_World1", "Speech_World2", "Speech_World3",
                                "Speech_World4", "Speech_World5", "Speech_World6", "Speech_World7"};

// The test programs run one folder below the build folder, whose "data" is
// the shipped data folder; the files are found the way the game finds them.
std::string soundPath(const std::string &name) {
  const FilePath buildData = FilePath::getCurrentExecutableDir().getParent().getChild(L"data");
  ScopedEnv data("MURMEL_WORLDS_DATA", buildData.getUtf8Path().c_str());
  const std::wstring wide(name.begin(), name.end());
  return FilePath::getDataFilesDir().getChild(L"sounds").getChild(wide + L".ogg").getUtf8Path();
}

std::vector<std::string> allNames() {
  std::vector<std::string> names;
  for (const Loop &loop : loops) names.push_back(loop.name);
  for (const char *speech : speeches) names.push_back(speech);
  return names;
}

float largestStep(const DecodedOgg &sound, int channel, long long from, long long to) {
  float result = 0.0f;
  for (long long i = from; i + 1 < to; ++i)
    result = std::max(result, std::fabs(sound.at(i + 1, channel) - sound.at(i, channel)));
  return result;
}

double energy(const DecodedOgg &sound, long long from, long long count) {
  double sum = 0.0;
  for (long long i = from; i < from + count; ++i)
    for (int c = 0; c < 2; ++c) sum += static_cast<double>(sound.at(i, c)) * sound.at(i, c);
  return sum;
}

}  // namespace

TEST(SoundFiles, EveryFileOfTheResourceSetDecodesAsStereoAt44100) {
  for (const std::string &name : allNames()) {
    SCOPED_TRACE(name);
    DecodedOgg sound(soundPath(name));
    ASSERT_TRUE(sound.isOpen());
    EXPECT_EQ(2, sound.getNumChannels());
    EXPECT_EQ(44100, sound.getSampleRate());
    EXPECT_GT(sound.getFileLength(), 0);
    EXPECT_EQ(sound.getFileLength(), sound.getFrames());
    EXPECT_GT(sound.peak(), 0.01f);
  }
}

TEST(SoundFiles, LoopsAreWholeBarsLong) {
  for (const Loop &loop : loops) {
    SCOPED_TRACE(loop.name);
    DecodedOgg sound(soundPath(loop.name));
    EXPECT_EQ(loop.bars * barFrames, sound.getFileLength());
  }
}

// Playing the last frame and then the first must not step further than the
// sound itself does near either end.
TEST(SoundFiles, LoopSeamsAreClickFree) {
  const long long edge = 2205;  // 50 ms
  for (const Loop &loop : loops) {
    SCOPED_TRACE(loop.name);
    DecodedOgg sound(soundPath(loop.name));
    const long long last = sound.getFrames() - 1;
    ASSERT_GT(last, 2 * edge);
    for (int c = 0; c < 2; ++c) {
      const float seam = std::fabs(sound.at(0, c) - sound.at(last, c));
      const float near = std::max(largestStep(sound, c, 0, edge), largestStep(sound, c, last + 1 - edge, last + 1));
      EXPECT_LE(seam, near) << "channel " << c;
    }
  }
}

// The bar clock starts with the music: every bar must open with an onset the
// ear can lock to.
TEST(SoundFiles, MusicOpensEveryBarWithAClearDownbeat) {
  DecodedOgg music(soundPath("Music"));
  const long long window = 882;  // 20 ms
  const int windows = static_cast<int>(barFrames / window);
  ASSERT_EQ(32 * barFrames, music.getFrames());
  for (int bar = 0; bar < 32; ++bar) {
    std::vector<double> energies;
    for (int w = 0; w < windows; ++w) energies.push_back(energy(music, bar * barFrames + w * window, window));
    const double onset = energies[0];
    std::nth_element(energies.begin(), energies.begin() + windows / 2, energies.end());
    EXPECT_GT(onset, 4.0 * energies[static_cast<size_t>(windows / 2)]) << "bar " << bar;
  }
}

TEST(SoundFiles, SpokenPassagesLastTheirTimeAndStartAndEndInSilence) {
  for (const char *name : speeches) {
    SCOPED_TRACE(name);
    DecodedOgg speech(soundPath(name));
    const double seconds = static_cast<double>(speech.getFrames()) / 44100.0;
    if (std::string(name) == "Speech_Intro") {
      EXPECT_GE(seconds, 8.0);
      EXPECT_LE(seconds, 12.0);
    } else {
      EXPECT_GE(seconds, 3.0);
      EXPECT_LE(seconds, 8.0);
    }
    // Played once from a standing start: a sound at either end would click.
    const long long edge = 441;  // 10 ms
    ASSERT_GT(speech.getFrames(), 2 * edge);
    for (long long i = 0; i < edge; ++i) {
      for (int c = 0; c < 2; ++c) {
        EXPECT_LT(std::fabs(speech.at(i, c)), 0.01f) << "frame " << i;
        EXPECT_LT(std::fabs(speech.at(speech.getFrames() - 1 - i, c)), 0.01f) << "frame from end " << i;
      }
    }
  }
}

// The game's sounder plays instruments at 0.66, spoken passages at 4.0 and the
// music at 1.5, each halved by the centred pan, over the noise bed, whose
// magnitude stays below 0.5 x its level, halves within 5000 frames once a
// file sound plays, and whose level falls by an eighth with every world. An
// instrument fades in over 100000 frames. Even where the loudest moments of a
// world's sounds meet, the mix must stay below the clamp.
TEST(SoundFiles, EveryWorldsUsualMixPeaksBelowFullScale) {
  const char *instruments[] = {"ClackyThing",     "HandDrum",   "Scraper",   "",
                               "DanglyDrumThing", "FingerBell", "RainStick", "SingingBowl"};
  const auto bed = [](int world, bool ducked) {
    return 0.5f * (1.0f - 0.125f * static_cast<float>(world)) * (ducked ? 0.5f : 1.0f);
  };
  const auto played = [](const std::string &name, float level) {
    return level * 0.5f * DecodedOgg(soundPath(name)).peak();
  };

  // The introduction starts over a bed that nothing has ducked yet.
  EXPECT_LT(bed(0, false) + played("Speech_Intro", 4.0f), 1.0f) << "title screen";
  for (int world = 0; world < 8; ++world) {
    const float instrument = *instruments[world] ? played(instruments[world], 0.66f) : 0.0f;
    const float speech = played("Speech_World" + std::to_string(world), 4.0f);
    const float music = world >= 3 ? played("Music", 1.5f) : 0.0f;
    // From the second world on the previous world's instrument or the music
    // keeps the bed ducked; in the first it ducks while the instrument is at 5 %.
    const float sounds = world == 0 ? std::max(bed(0, false) + 0.05f * instrument, bed(0, true) + instrument)
                                    : bed(world, true) + instrument;
    EXPECT_LT(sounds + speech + music, 1.0f) << "world " << world;
  }
}

TEST(SoundFiles, TheSetFitsInFourMebibytes) {
  long long total = 0;
  for (const std::string &name : allNames()) {
    struct stat info;
    ASSERT_EQ(0, stat(soundPath(name).c_str(), &info)) << name;
    total += info.st_size;
  }
  EXPECT_LE(total, 4LL * 1024 * 1024);
}
