#pragma once

#include "framework/app/GameState.h"
#include "game/Captions.h"
#include "base/ThreeFloats.h"
#include "framework/sound/HeardEvents.h"
#include "game/MurmelSounder.h"

#include <array>
#include <memory>
#include <string>

class World;

// The state in which the game is played: eight worlds on one plane, one
// played at a time under a camera. A finished world flashes white, the camera
// travels to the next one while the sounds change, and after the last world
// all eight gather on one screen, pulse with the music's bars and fade to
// black before the application quits. Every timer steps once per drawn frame.
// With captions on, each world's passage shows its words while it plays.
// The drawing area may change shape between frames (a window turned on its
// side): the worlds take the new one at the next frame, the camera keeps its
// point of the plane at the centre of the screen, and the closing sequence
// gathers the worlds, and rests the camera, in the new area.
//
// Main thread, except barStart (audio thread), which only notes the bar; the
// first frame drawn once the bar is heard tells the worlds and starts the
// pulse.
class GamePlayState final : public GameState, public MurmelSounder::Callback {
 public:
  static constexpr int NumWorlds = 8;

  // The game sounder's operations this state uses. The game plays through
  // MurmelSounder; tests hand in their own to hear what the state asks for.
  class Sounds {
   public:
    virtual ~Sounds() = default;
    // A looping instrument; a handle for deactivateSound, -1 when nothing plays.
    virtual int activateSound(const std::wstring &name) = 0;
    virtual void deactivateSound(int handle) = 0;
    // Once, centred; finished (not owned; may be null) hears soundFinished
    // at its end. Remove it with forgetFinished before it goes.
    virtual void triggerSound(const std::wstring &name, StreamingSound::Callback *finished) = 0;
    // Returns only when no call into finished is still running.
    virtual void forgetFinished(StreamingSound::Callback *finished) = 0;
    virtual void killTriggered() = 0;
    virtual void setNoiseLevel(float level) = 0;
    // Also starts the bar clock.
    virtual void playMusic(const std::wstring &name) = 0;
    virtual void stopMusic() = 0;
    // Returns only when no call into the previous callback is still running.
    virtual void setCallback(MurmelSounder::Callback *callback) = 0;
    // When what the sounds play is heard; null, the default, hears it at once.
    virtual const AudioClock *clock() const { return nullptr; }
  };

  // Plays through the sounder when it is the game's; silent otherwise.
  GamePlayState(Application *app, Sounder *sounder);
  // Plays through sounds (not owned; may be null for silence).
  GamePlayState(Application *app, Sounds *sounds);
  // Detaches from the sounder: once it returns, no barStart reaches the state.
  ~GamePlayState() override;

  void draw(boost::shared_ptr<Drawer> drawer) override;
  // "Escape" quits; "Action" replays the current world's spoken passage.
  void keyDown(const std::wstring &action, const std::wstring &keyText, int modifier) override;
  // Reaches the current world only while the camera is not travelling.
  void mouseMove(const TwoFloats &position) override;
  std::wstring getName() const override { return L"GamePlayState"; }

  // Audio thread: a bar of the music begins at frame. No lock, no allocation.
  void barStart(AudioFrame frame) override;

  // For tests and the robot player, main thread. A world's fields may be read
  // (and, in tests, written) between frames.
  World &getWorld(int index) const;
  // Index of the world being played; 7 from the closing sequence on.
  int getCurrentWorld() const { return currentWorld; }
  // 0 while no camera journey runs, else its progress 0.01 .. 1.
  float getTravel() const { return travel; }
  // A white flash is under way (the end of a world, or of the last one).
  bool isFlashing() const { return flashing; }
  float getFlashPhase() const { return flashPhase; }
  // The closing sequence (gathering, pulsing, fading out) is running.
  bool isClosing() const { return closing; }
  // 0 -> 1 progress of the gathering; 0 = no pulse running, else its phase.
  float getGatherProgress() const { return gatherProgress; }
  float getPulsePhase() const { return pulsePhase; }
  // Frames of the closing sequence left before the fade-out.
  int getClosingFrames() const { return closingFrames; }
  // World-plane point at the centre of the screen.
  const TwoFloats &getCamera() const { return camera; }
  // Opacity of the black covers at the start and at the end.
  float getFadeIn() const { return fadeIn; }
  float getFadeOut() const { return fadeOut; }

  static GameStateCreator<GamePlayState> creator;

 private:
  void start();
  // Hands the drawer's area and window-pixel size to every world when either
  // differs from what they have (always on the first frame).
  void followArea(const Drawer &drawer);
  // Plays the world's passage, with its caption.
  void speak(int world);
  void takeBars();
  void drawBackground(Drawer &drawer, const TwoFloats &size);
  void drawAndTickWorlds(Drawer &drawer, const TwoFloats &viewTopLeft, const TwoFloats &viewBottomRight);
  void stepClosing(const TwoFloats &size);
  void stepJourney();
  void stepFlash(Drawer &drawer, const TwoFloats &size);
  void stepClosingFlash(Drawer &drawer, const TwoFloats &size);
  void beginClosing();
  void drawCovers(Drawer &drawer, const TwoFloats &size);
  // The current world has reported done since it became current.
  bool currentWorldDone();

  std::array<boost::shared_ptr<World>, NumWorlds> worlds;
  std::array<std::wstring, NumWorlds> instruments;
  std::array<std::wstring, NumWorlds> speeches;
  std::array<TwoFloats, NumWorlds> finalPositions;
  float gatherProgress = 0.0f;
  float pulsePhase = 0.0f;
  int closingFrames = 1600;
  int instrumentId = -1;
  int currentWorld = 0;
  float travel = 0.0f;
  TwoFloats camera{640.0f, 360.0f};
  float flashPhase = 0.0f;
  bool flashing = false;
  float fadeIn = 1.0f;
  float fadeOut = 0.0f;
  bool closing = false;
  ThreeFloats closingColourFrom{0.56078434f, 0.5529412f, 0.15686275f};
  ThreeFloats closingColourTo;
  float closingColourBlend = 0.0f;
  // What the worlds were last handed; nothing before the first frame.
  TwoFloats worldArea{0.0f, 0.0f};
  TwoFloats worldPixel{0.0f, 0.0f};
  Sounds *sounder;  // not owned; null plays nothing

  // The game sounder behind sounder, when this state made the adapter itself.
  std::unique_ptr<Sounds> ownSounds;
  // Kept once seen, so that a finished world's flash and journey always run to the end.
  bool currentDone = false;
  Captions captions;
  // Bars begun on the audio thread and not yet heard.
  HeardEvents<16> bars;
};
