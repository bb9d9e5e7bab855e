#pragma once

#include <string>
#include <vector>

// The robot player's command line: its own options are taken out, every
// other argument goes to the game unchanged (-w, -h, -win, -m, -a).
class AutoplayOptions {
 public:
  // False, with the reason in error, when one of the robot's options is malformed.
  bool parse(int argc, char *argv[], std::string &error);

  static const char *usage();

  // Where the PNG frames and the contact sheet go; empty for none.
  std::string screenshotDir;
  // Where the captured sound goes as a WAV file; empty for none.
  std::string wavFile;
  bool uncapped = false;
  // Stop at the title screen's first frame and print the time it took.
  bool untilTitle = false;
  // Frames after which the robot gives up; 0 plays on for ever.
  long maxFrames = 0;
  // Time every call of the audio device's callback and report the figures.
  bool timeAudio = false;
  // The world through which every playback slot is kept busy; -1 for none.
  int fillSlotsWorld = -1;
  // Who plays (--persona): "perfect" or a human player model's name,
  // which the program checks (choosePlayer).
  std::string player = "perfect";
  // The persona has never played: it finds out how each world answers.
  bool firstTime = false;
  // Seeds the game's random generator (and the persona's hand) when set, so
  // that a run can be repeated; otherwise the game seeds it from the clock.
  bool seeded = false;
  int seed = 0;
  // Measure every frame against the photosensitive-flash thresholds and report the worst second.
  bool flashReport = false;
  // Print when each red flash of world 3 reaches the picture (RingFlashWatch).
  bool flashTimes = false;
  // The world in which the audio device stops calling back (SDL's audio is
  // paused), as a device that fails would; -1 for none.
  int stallAudioWorld = -1;
  // World 3's red flashes the perfect player lets go by before it shakes.
  int watchFlashes = 0;
  // Only print the personas' figures (a Markdown table) and exit.
  bool listPersonas = false;
  bool helpRequested = false;
  std::vector<std::wstring> gameArguments;
};
