#include <gtest/gtest.h>

#include <sys/stat.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/FilePath.h"
#include "base/Thread.h"
#include "framework/resources/ResourceManager.h"
#include "game/MurmelSounder.h"
#include "framework/sound/VorbisfileLoader.h"
#include "support/DecodedOgg.h"
#include "support/ScopedEnv.h"
#include "support/SoundRecorder.h"
#include "game/MurmelGame.h"
#include "framework/app/Platform.h"
#include "base/UTF8File.h"

namespace {

const long barFrames = MurmelSounder::BarLength;

struct Loop {
  const wchar_t *name;
  int bars;
};

const Loop loops[] = {{L"ClackyThing", 8},     {L"HandDrum", 8},   {L"Scraper", 8},
                      {L"DanglyDrumThing", 8}, {L"FingerBell", 8}, {L"RainStick", 8},
                      {L"SingingBowl", 16},    {L"Drone1", 16},    {L"Music", 32}};

// What the gameplay state plays in each world; the fourth has no instrument.
const wchar_t *const instruments[] = {L"ClackyThing",     L"HandDrum",   L"Scraper",   L"",
                                      L"DanglyDrumThing", L"FingerBell", L"RainStick", L"SingingBowl"};
const int firstWorldWithMusic = 3;

std::wstring speechOf(int world) { return L"Speech_World" + std::to_wstring(world); }
// The noise bed loses an eighth with every world.
float noiseLevelOf(int world) { return 1.0f - 0.125f * static_cast<float>(world); }

std::vector<std::wstring> speeches() {
  std::vector<std::wstring> names = {L"Speech_Intro"};
  for (int world = 0; world < 8; ++world) names.push_back(speechOf(world));
  return names;
}

// The test programs run one folder below the build folder, whose "data" is
// the shipped data folder; the files are found the way the game finds them.
class ShippedData {
 public:
  ShippedData()
      : data("MURMEL_WORLDS_DATA",
             FilePath::getCurrentExecutableDir().getParent().getChild(L"data").getUtf8Path().c_str()) {}

 private:
  ScopedEnv data;
};

FilePath soundFile(const std::wstring &name) {
  ShippedData data;
  return FilePath::getDataFilesDir().getChild(L"sounds").getChild(name + L".ogg");
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

// The catalogue is the game's own list, so a file it names but the data
// folder lacks, or one the game's decoder cannot read, shows up here.
TEST(SoundFiles, EveryFileOfTheResourceSetOpensAsStereoAt44100) {
  ShippedData data;
  ResourceManager resources;
  MurmelGame().registerResources(resources);
  ASSERT_EQ(18, resources.getNumSounds());
  for (int i = 0; i < resources.getNumSounds(); ++i) {
    const FilePath &path = resources.getSoundPath(i);
    SCOPED_TRACE(path.getUtf8Path());
    DecodedOgg sound(path);
    ASSERT_TRUE(sound.isOpen());
    EXPECT_EQ(2, sound.getNumChannels());
    EXPECT_EQ(44100.0f, sound.getSampleRate());
    EXPECT_GT(sound.getFileLength(), 0);
    EXPECT_EQ(sound.getFileLength(), sound.getFrames());
    EXPECT_GT(sound.peak(), 0.01f);
  }
}

TEST(SoundFiles, LoopsAreWholeBarsLong) {
  for (const Loop &loop : loops) {
    SCOPED_TRACE(UTF8File::toUtf8(loop.name));
    DecodedOgg sound(soundFile(loop.name));
    EXPECT_EQ(loop.bars * barFrames, sound.getFileLength());
  }
}

// Playing the last frame and then the first must not step further than the
// sound itself does near either end.
TEST(SoundFiles, LoopSeamsAreClickFree) {
  const long long edge = 2205;  // 50 ms
  for (const Loop &loop : loops) {
    SCOPED_TRACE(UTF8File::toUtf8(loop.name));
    DecodedOgg sound(soundFile(loop.name));
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
  DecodedOgg music(soundFile(L"Music"));
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
  for (const std::wstring &name : speeches()) {
    SCOPED_TRACE(UTF8File::toUtf8(name));
    DecodedOgg speech(soundFile(name));
    const double seconds = static_cast<double>(speech.getFrames()) / 44100.0;
    if (name == L"Speech_Intro") {
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

// The mix below follows one moment of each loop; the player may replay a
// world's passage ("Action") at any other. So the files must also stay below
// full scale where their loudest moments meet, whenever that is. Every sound
// is centred, so the pan halves it; the noise bed stays below 0.5 x its
// level, and is ducked to half once any file sound has played for 5000
// frames. A new world's instrument fades in while the previous one fades
// out, over the same 100000 frames, so between them they never reach more
// than the louder of the two at full level.
TEST(SoundFiles, EveryWorldsSoundsStayBelowFullScaleWhereverTheirPeaksMeet) {
  const auto bed = [](int world, bool ducked) { return 0.5f * noiseLevelOf(world) * (ducked ? 0.5f : 1.0f); };
  const auto played = [](const std::wstring &name, float level) {
    return name.empty() ? 0.0f : level * 0.5f * DecodedOgg(soundFile(name)).peak();
  };
  const float speechLevel = MurmelSounder::TriggeredLevel, instrumentLevel = MurmelSounder::InstrumentLevel;

  // The introduction starts over a bed that nothing has ducked yet.
  EXPECT_LT(bed(0, false) + played(L"Speech_Intro", speechLevel), 1.0f) << "title screen";
  for (int world = 0; world < 8; ++world) {
    float instrument = played(instruments[world], instrumentLevel);
    if (world > 0) instrument = std::max(instrument, played(instruments[world - 1], instrumentLevel));
    const float speech = played(speechOf(world), speechLevel);
    const float music = world >= firstWorldWithMusic ? played(L"Music", MurmelSounder::MusicLevel) : 0.0f;
    // In the first world the bed is unducked only while the instrument is
    // still below 5 %; from the second on the previous world's sounds keep it
    // ducked.
    const float sounds = world == 0 ? std::max(bed(0, false) + 0.05f * instrument, bed(0, true) + instrument)
                                    : bed(world, true) + instrument;
    EXPECT_LT(sounds + speech + music, 1.0f) << "world " << world;
  }
}

// Each world's usual mix, as the game plays it: the shipped files through
// the game's loader and sounder, mixed block by block as the audio device
// asks for it, from the change of world for as long as the world's spoken
// passage lasts. Almost nothing may reach the sounder's clamp.
class UsualMix : public ::testing::TestWithParam<int> {
 public:
  static constexpr int titleScreen = -1;

 protected:
  // The fades of instruments and of the noise bed take 100000 frames.
  static constexpr int settle = 25 * 4096;

  void SetUp() override {
    Platform::install();
    sounder.reset(new MurmelSounder());
  }

  // Loads a file as the loading screen does; the empty name is no sound.
  void load(const std::wstring &name) {
    if (name.empty()) return;
    const boost::shared_ptr<VorbisfileLoader> loader = DecodedOgg::open(soundFile(name));
    EXPECT_TRUE(loader->isOpen()) << UTF8File::toUtf8(name);
    sounder->loadSoundFileResource(loader);
  }

  // The title screen's introduction over a noise bed that has faded in.
  void startTitle() {
    load(L"Speech_Intro");
    SoundRecorder::record(*sounder, settle);
    sounder->triggerSound(L"Speech_Intro", 0.5f, nullptr);
    EXPECT_EQ(1, sounder->getNumActiveSlots());
  }

  // Plays the world before `world` until its instrument has faded in, then
  // changes to `world` in the gameplay state's order of calls.
  void startWorld(int world) {
    load(instruments[world]);
    if (world > 0) load(instruments[world - 1]);
    if (world >= firstWorldWithMusic) load(L"Music");
    load(speechOf(world));

    // The first world follows the title screen, whose introduction has ended.
    int previous = -1;
    if (world > 0) {
      sounder->setNoiseLevel(noiseLevelOf(world - 1));
      previous = sounder->activateSound(instruments[world - 1]);
      if (world - 1 >= firstWorldWithMusic) sounder->playMusic(L"Music");
    }
    SoundRecorder::record(*sounder, settle);
    const int before = sounder->getNumActiveSlots();

    if (world > 0) {
      sounder->setNoiseLevel(noiseLevelOf(world));
      sounder->deactivateSound(previous);
      sounder->killTriggered();
    }
    const int instrument = sounder->activateSound(instruments[world]);
    sounder->triggerSound(speechOf(world), 0.5f, nullptr);
    if (world == firstWorldWithMusic) sounder->playMusic(L"Music");
    // The previous instrument fades out beside everything just started.
    EXPECT_EQ(before + (instrument >= 0 ? 1 : 0) + 1 + (world == firstWorldWithMusic ? 1 : 0),
              sounder->getNumActiveSlots());
  }

  std::unique_ptr<MurmelSounder> sounder;
};

TEST_P(UsualMix, StaysOffTheClamp) {
  const int world = GetParam();
  const DecodedOgg passage(soundFile(world == titleScreen ? L"Speech_Intro" : speechOf(world)));
  ASSERT_TRUE(passage.isOpen());
  if (world == titleScreen)
    startTitle();
  else
    startWorld(world);
  ASSERT_FALSE(HasFailure());
  const std::vector<float> out = SoundRecorder::record(*sounder, static_cast<int>(passage.getFrames()));

  // The sounder clamps to -1 .. 1 and then scales by its master gain.
  float peak = 0.0f;
  long long clamped = 0;
  double passageEnergy = 0.0, shared = 0.0;
  for (size_t i = 0; i < out.size(); ++i) {
    const float sample = out[i];
    peak = std::max(peak, std::fabs(sample) / MurmelSounder::MasterGain);
    if (std::fabs(sample) >= MurmelSounder::MasterGain) ++clamped;
    // The centred passage alone, at the sounder's level for it.
    const double alone = passage.at(static_cast<long long>(i / 2), static_cast<int>(i % 2)) *
                         MurmelSounder::TriggeredLevel * 0.5 * MurmelSounder::MasterGain;
    passageEnergy += alone * alone;
    shared += alone * sample;
  }
  const long long samples = static_cast<long long>(out.size());
  std::printf("%s: peak %.3f (%.1f dBFS), %lld of %lld samples at the clamp\n",
              world == titleScreen ? "title screen" : ("world " + std::to_string(world)).c_str(), peak,
              20.0 * std::log10(peak), clamped, samples);
  // The passage is in the mix at its level, in step: the other sounds are
  // unrelated to it. A mix that lost it would pass on the other sounds alone.
  EXPECT_NEAR(1.0, shared / passageEnergy, 0.1);
  EXPECT_LT(clamped * 10000, samples);
}

INSTANTIATE_TEST_SUITE_P(SoundFiles, UsualMix, ::testing::Range(UsualMix::titleScreen, 8),
                         [](const ::testing::TestParamInfo<int> &info) {
                           return info.param == UsualMix::titleScreen ? std::string("TitleScreen")
                                                                      : "World" + std::to_string(info.param);
                         });

TEST(SoundFiles, TheSetFitsInFourMebibytes) {
  long long total = 0;
  for (const std::wstring &name : MurmelGame::soundNames()) {
    struct stat info;
    ASSERT_EQ(0, stat(soundFile(name).getUtf8Path().c_str(), &info)) << UTF8File::toUtf8(name);
    total += info.st_size;
  }
  EXPECT_LE(total, 4LL * 1024 * 1024);
}
