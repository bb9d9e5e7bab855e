#pragma once

#include "framework/drawing/TextLayout.h"
#include "framework/sound/HeardEvents.h"
#include "framework/sound/StreamingSound.h"

#include <atomic>
#include <string>

class Application;
class Drawer;

// Captions of the spoken passages, for players who cannot hear them: while a
// passage plays, its words in a thin rounded face, wrapped and centred near
// the bottom of the screen over a soft dark band, fading in as the passage
// starts and out as it ends. A passage ends when its sound reports that it
// has finished or, when no sound will report (no sounder, a sound that never
// loaded), after a reading time of its words. Passages keep their timing while
// captions are off, so switching them on mid-passage shows the rest of it.
// With the sounder's clock, a passage shows from when its start is heard
// until its end is, which the device may put half a second after the mix.
// Main thread, except soundFinished (audio thread).
class Captions final : public StreamingSound::Callback {
 public:
  // The face, found by name in the font folders, else the plain one, and
  // the name the font is registered under in the drawer.
  static const wchar_t *const faceName;
  static const wchar_t *const fallbackFaceName;
  static const wchar_t *const fontName;
  static constexpr float fontSize = 34.0f;

  // Whether the player has switched captions on (the "C" key).
  static bool areOn(const Application *app);

  // The clock of the sounder that plays the passages (not owned; null, the
  // default, shows them as they are mixed).
  void setClock(const AudioClock *soundClock) { clock = soundClock; }
  // A passage has started, by its sound's name; other names show nothing.
  // heard: its sound will report its end through soundFinished.
  void passageStarted(const std::wstring &soundName, bool heard);
  // Audio thread: a sound has ended. No allocation, no lock.
  void soundFinished(const std::wstring &soundName, AudioFrame frame) override;
  // Steps the fade by one frame, and draws the caption when shown.
  void draw(Drawer &drawer, bool shown);

  // The passage being captioned (an index into SpokenPassages), -1 for none.
  int getPassage() const { return passage; }
  float getAlpha() const { return alpha; }

 private:
  // Registers the font with the drawer unless it already has it; false
  // when neither face can be found. A drawer that lacked both is not asked
  // again until the next passage.
  bool loadFont(Drawer &drawer);
  void drawCaption(Drawer &drawer);

  int passage = -1;
  bool ending = false;
  const AudioClock *clock = nullptr;
  // Where the passage's sound starts on the clock, and whether that is heard yet.
  AudioFrame startFrame = 0;
  bool startHeard = true;
  // Frames before the passage ends on its own, when no sound will tell.
  int framesLeft = 0;
  float alpha = 0.0f;
  // Filled by the drawer on the passage's first caption and kept until the next.
  TextLayout layout;
  // The drawer that had neither face this passage; only compared, never used.
  const Drawer *fontMissingOn = nullptr;
  // Passages whose sound finished (their index), from the audio thread.
  HeardEvents<4> finishes;
};
