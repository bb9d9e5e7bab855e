#pragma once

#include "framework/app/GameState.h"
#include "game/Captions.h"
#include "base/ThreeFloats.h"
#include "framework/sound/HeardEvents.h"
#include "framework/sound/StreamingSound.h"

class MurmelSounder;

// The screen after loading: a drifting background, three nested discs
// shrinking towards the centre, the title, and the spoken introduction. Once
// the introduction has ended a prompt fades in; a key fades to black and
// starts the game, a click starts it at once. "Escape" quits at any time.
// With captions on, the introduction's words show while it plays, and the
// prompt waits until they have faded. The introduction has ended when its
// end is heard, which the device may put half a second after the mix.
// Main thread, except soundFinished (audio thread).
class TitleScreen final : public GameState, public StreamingSound::Callback {
 public:
  TitleScreen(Application *app, Sounder *sounder);
  // Detaches from the sounder: no soundFinished reaches a destroyed screen.
  ~TitleScreen() override;

  void draw(boost::shared_ptr<Drawer> drawer) override;
  void keyDown(const std::wstring &action, const std::wstring &keyText, int modifier) override;
  void mouseDown(int button, const TwoFloats &position) override;
  std::wstring getName() const override { return L"TitleScreen"; }

  // Audio thread: the introduction has ended (at frame, to be heard).
  void soundFinished(const std::wstring &name, AudioFrame frame) override;

  float getPromptAlpha() const { return promptAlpha; }
  float getFadeIn() const { return fadeIn; }
  float getFadeOut() const { return fadeOut; }
  const ThreeFloats &getDiscSizes() const { return discSizes; }
  const ThreeFloats &getDiscColour(int disc) const { return discColours[disc]; }

  static GameStateCreator<TitleScreen> creator;

 private:
  // A random colour at least 0.1 away from white.
  static ThreeFloats randomColour();

  float fadeIn = 1.0f;
  float fadeOut = 0.0f;
  // Written on the main thread only; the audio thread's news arrives through introEnds.
  float promptAlpha = 0.0f;
  // Whether the introduction has ended, as the main thread has heard.
  bool introOver = false;
  ThreeFloats colourFrom;
  ThreeFloats colourTo;
  float colourBlend = 0.0f;
  float discShrink = 1.0f;
  ThreeFloats discSizes;
  ThreeFloats discColours[3];

  Captions captions;
  MurmelSounder *sounder;  // not owned; null when the sounder is not the game's
  // The introduction's end, from the audio thread, until it is heard.
  HeardEvents<4> introEnds;
};
