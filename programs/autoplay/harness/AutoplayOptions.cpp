#include "harness/AutoplayOptions.h"

#include "base/UTF8File.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

const char *AutoplayOptions::usage() {
  return "Usage: murmel-worlds-autoplay [--screenshots DIR] [--wav FILE] [--uncapped] [--max-frames N]\n"
         "                              [--until-title] [--time-audio] [--fill-slots WORLD] [--persona NAME]\n"
         "                              [--flash-report] [--flash-times] [--stall-audio WORLD]\n"
         "                              [--watch-flashes N] [--first-time] [--seed N]\n"
         "                              [--list-personas]\n"
         "                              [game options: -w WIDTH -h HEIGHT -win -m -a API]\n"
         "Plays Murmel Worlds from the title screen to the end, as a person would.\n"
         "  --screenshots DIR  PNG frames of the title, each world, a world with captions on,\n"
         "                     the gathering and the end, and contact-sheet.png with all of them\n"
         "  --wav FILE         with SDL_AUDIODRIVER=disk, the captured sound as a WAV file\n"
         "  --uncapped         draw frames as fast as the machine can, not 60 a second (world 3,\n"
         "                     whose flash keeps the music's time, is still played at 60)\n"
         "  --max-frames N     give up after N frames\n"
         "  --until-title      only start the game: quit at the title screen's first frame\n"
         "                     and print the seconds from process start to it\n"
         "  --time-audio       time every call of the audio callback; print the count, the worst\n"
         "                     and the 99.9th percentile against the block's real time, and fail\n"
         "                     when any call took longer than its block plays for\n"
         "  --fill-slots WORLD keep all 128 playback slots busy through that world (0 to 7) with\n"
         "                     the game's own sounds, looping, on top of the world's; best the\n"
         "                     last, 7: the next world's sounds find no slot while these fade\n"
         "  --persona NAME     who plays: perfect (the default), as fast as the game allows, or a\n"
         "                     person who sees only the screen and moves as a hand does: brisk,\n"
         "                     calm, slow, trackpad or shaky\n"
         "  --flash-report     read every frame's luminance as it is drawn and print the second\n"
         "                     with the most flashes against WCAG 2.3.1's general and red flash\n"
         "                     thresholds (at most 3 a second)\n"
         "  --flash-times      print the steady clock's time of the first frame of each of world\n"
         "                     3's red flashes, read from the ring's pixel: \"autoplay: red flash\n"
         "                     at T s\"\n"
         "  --stall-audio WORLD  in that world (0 to 7) SDL's audio stops calling back, as a\n"
         "                     failing device does; the game must go on without it\n"
         "  --watch-flashes N  the perfect player lets N of world 3's red flashes go by before it\n"
         "                     shakes (0 to 9), so that the world shows several\n"
         "  --first-time       with --persona: the person has never played and finds out how\n"
         "                     each world answers; gives up on a world after three minutes\n"
         "  --seed N           seed the game's random draws (and the persona's hand) with N\n"
         "  --list-personas    print each persona's figures as a table and exit\n"
         "Exits with 0 when the game has finished and quit by itself, otherwise 1.\n";
}

namespace {

// One digit from 0 to highest; false, with the reason in error, for anything else.
bool digit(const std::string &option, const std::string &value, char highest, const char *what, int &result,
           std::string &error) {
  if (value.size() != 1 || value[0] < '0' || value[0] > highest) {
    error = option + " needs " + what + ", not '" + value + "'";
    return false;
  }
  result = value[0] - '0';
  return true;
}

}  // namespace

bool AutoplayOptions::parse(int argc, char *argv[], std::string &error) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool takesValue = argument == "--screenshots" || argument == "--wav" || argument == "--max-frames" ||
                            argument == "--fill-slots" || argument == "--persona" || argument == "--stall-audio" ||
                            argument == "--watch-flashes" || argument == "--seed";
    if (takesValue && i + 1 >= argc) {
      error = argument + " needs a value";
      return false;
    }
    if (argument == "--screenshots") {
      screenshotDir = argv[++i];
    } else if (argument == "--wav") {
      wavFile = argv[++i];
    } else if (argument == "--max-frames") {
      const char *value = argv[++i];
      char *end = nullptr;
      errno = 0;
      maxFrames = std::strtol(value, &end, 10);
      if (errno != 0 || end == value || *end != '\0' || maxFrames < 1) {
        error = std::string("--max-frames needs a whole number above 0, not '") + value + "'";
        return false;
      }
    } else if (argument == "--fill-slots" || argument == "--stall-audio") {
      if (!digit(argument, argv[++i], '7', "a world from 0 to 7",
                 argument == "--fill-slots" ? fillSlotsWorld : stallAudioWorld, error))
        return false;
    } else if (argument == "--watch-flashes") {
      if (!digit(argument, argv[++i], '9', "a count from 0 to 9", watchFlashes, error)) return false;
    } else if (argument == "--seed") {
      const char *value = argv[++i];
      char *end = nullptr;
      errno = 0;
      const long number = std::strtol(value, &end, 10);
      if (errno != 0 || end == value || *end != '\0' || number < 0 || number > 2147483647L) {
        error = std::string("--seed needs a whole number from 0 to 2147483647, not '") + value + "'";
        return false;
      }
      seeded = true;
      seed = static_cast<int>(number);
    } else if (argument == "--first-time") {
      firstTime = true;
    } else if (argument == "--persona") {
      player = argv[++i];
    } else if (argument == "--flash-report") {
      flashReport = true;
    } else if (argument == "--flash-times") {
      flashTimes = true;
    } else if (argument == "--list-personas") {
      listPersonas = true;
    } else if (argument == "--time-audio") {
      timeAudio = true;
    } else if (argument == "--until-title") {
      untilTitle = true;
    } else if (argument == "--uncapped") {
      uncapped = true;
    } else if (argument == "--help" || argument == "-help") {
      helpRequested = true;
    } else {
      std::wstring wide;
      UTF8File::charToWstring(argv[i], wide);
      gameArguments.push_back(wide);
    }
  }
  return true;
}
