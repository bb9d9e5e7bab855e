#include "AutoplayOptions.h"

#include "app/UTF8File.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

const char *AutoplayOptions::usage() {
  return "Usage: murmel-worlds-autoplay [--screenshots DIR] [--wav FILE] [--uncapped] [--max-frames N]\n"
         "                              [--until-title] [game options: -w WIDTH -h HEIGHT -win -m -a API]\n"
         "Plays Murmel Worlds from the title screen to the end, as a person would.\n"
         "  --screenshots DIR  PNG frames of the title, each world, a world with captions on,\n"
         "                     the gathering and the end, and contact-sheet.png with all of them\n"
         "  --wav FILE         with SDL_AUDIODRIVER=disk, the captured sound as a WAV file\n"
         "  --uncapped         draw frames as fast as the machine can, not 60 a second\n"
         "  --max-frames N     give up after N frames\n"
         "  --until-title      only start the game: quit at the title screen's first frame\n"
         "                     and print the seconds from process start to it\n"
         "Exits with 0 when the game has finished and quit by itself, otherwise 1.\n";
}

bool AutoplayOptions::parse(int argc, char *argv[], std::string &error) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool takesValue = argument == "--screenshots" || argument == "--wav" || argument == "--max-frames";
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
