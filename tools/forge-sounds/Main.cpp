// forge-sounds: synthesises the game's eighteen sound files.
//   forge-sounds OUTPUT_FOLDER [NAME …]
// writes every file (or only the named ones) as OUTPUT_FOLDER/NAME.ogg and
// then reads each back and prints what it measures.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "MusicPiece.h"
#include "OggWriter.h"
#include "Percussion.h"
#include "SoundReport.h"
#include "Speech.h"
#include "Take.h"
#include "Textures.h"
#include "Tones.h"

namespace {

// The game plays instruments at 0.66, spoken passages at 4.0 and the music
// at 1.5, each halved by the pan law, over a noise bed of up to 0.25 while it
// is ducked. These peaks keep the sum of every world's usual mix below full
// scale even where the loudest moments of all of them meet.
const float instrumentPeak = 0.6f;
const float speechPeak = 0.17f;
const float musicPeak = 0.3f;
const float quality = 0.4f;

struct Recipe {
  std::string name;
  std::function<std::optional<Take>()> forge;
  float peak;
};

bool wanted(const std::string &name, const std::vector<std::string> &only) {
  if (only.empty()) return true;
  for (const std::string &n : only)
    if (n == name) return true;
  return false;
}

long fileSize(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? static_cast<long>(info.st_size) : 0;
}

std::vector<Recipe> allRecipes() {
  std::vector<Recipe> recipes = {
      {"ClackyThing", forgeClackyThing, instrumentPeak},
      {"DanglyDrumThing", forgeDanglyDrumThing, instrumentPeak},
      {"Drone1", forgeDrone, instrumentPeak},
      {"FingerBell", forgeFingerBell, instrumentPeak},
      {"HandDrum", forgeHandDrum, instrumentPeak},
      {"Music", forgeMusic, musicPeak},
      {"RainStick", forgeRainStick, instrumentPeak},
      {"Scraper", forgeScraper, instrumentPeak},
      {"SingingBowl", forgeSingingBowl, instrumentPeak},
  };
  for (const Speech::Passage &passage : Speech::passages()) {
    recipes.push_back({passage.name, [passage]() { return Speech::speak(passage.text); }, speechPeak});
  }
  return recipes;
}

// Forges one file; false (having said why) when it could not be made.
bool forgeFile(const Recipe &recipe, const std::string &folder, int fileSerial) {
  std::fprintf(stderr, "forging %s\n", recipe.name.c_str());
  std::optional<Take> forged = recipe.forge();
  if (!forged) {
    std::fprintf(stderr, "forge-sounds: %s: no sound (are festival and festvox-us-slt-hts installed?)\n",
                 recipe.name.c_str());
    return false;
  }
  Take &take = *forged;
  if (take.isLooping()) take.removeOffset();
  take.normalise(recipe.peak);
  const std::string path = folder + "/" + recipe.name + ".ogg";
  if (!OggWriter::write(path, take, recipe.name, fileSerial, quality)) {
    std::fprintf(stderr, "forge-sounds: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

// Prints the figures of the written files; false when a passage's length is out of bounds.
bool report(const std::string &folder, const std::vector<std::string> &written) {
  SoundReport::printHeader();
  for (const std::string &name : written) {
    const std::string path = folder + "/" + name + ".ogg";
    SoundReport::printLine(name, SoundReport::measure(path), fileSize(path));
  }
  bool ok = true;
  // A passage that was not written has already been reported.
  for (const Speech::Passage &passage : Speech::passages()) {
    if (std::find(written.begin(), written.end(), passage.name) == written.end()) continue;
    const SoundReport::Figures figures = SoundReport::measure(folder + "/" + passage.name + ".ogg");
    const float seconds = static_cast<float>(figures.frames) / 44100.0f;
    if (seconds < passage.shortestSeconds || seconds > passage.longestSeconds) {
      std::fprintf(stderr, "forge-sounds: %s lasts %.2f s, outside %.0f to %.0f s\n", passage.name.c_str(), seconds,
                   passage.shortestSeconds, passage.longestSeconds);
      ok = false;
    }
  }
  return ok;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER [NAME ...]\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const std::vector<std::string> only(argv + 2, argv + argc);

  bool ok = true;
  std::vector<std::string> written;
  // Serial numbers are fixed per file, so a file's bytes depend only on its sound.
  int serial = 0x4D570001;
  for (const Recipe &recipe : allRecipes()) {
    const int fileSerial = serial++;
    if (!wanted(recipe.name, only)) continue;
    if (forgeFile(recipe, folder, fileSerial))
      written.push_back(recipe.name);
    else
      ok = false;
  }
  return report(folder, written) && ok ? 0 : 1;
}
