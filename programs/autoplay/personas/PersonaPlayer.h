#pragma once

#include "harness/Player.h"
#include "personas/FirstTimePlayer.h"
#include "personas/MotorModel.h"
#include "personas/PersonaStrategy.h"
#include "personas/PersonaTitle.h"
#include "personas/PixelEyes.h"
#include "personas/Sight.h"

#include <cstdint>
#include <memory>
#include <string>

class EventPusher;
struct Persona;

// A human player model at the controls. It sees only the frames drawn, read
// back as pixels and made out by its eyes (PixelEyes), takes them in a
// reaction time late, moves its hand within human limits and reports the
// mouse through SDL's queue at its mouse's rate, several motions a frame, as
// window pixels. It tells the worlds apart as a person does: the white flash
// ends one, the camera's journey brings the next. An informed persona knows
// how each world is solved, in order; a first-time one does not
// (FirstTimePlayer). It never reads the game's state. Main thread, once
// before and once after every frame.
class PersonaPlayer final : public Player {
 public:
  // seed varies the hand and the reactions from run to run.
  PersonaPlayer(const Persona &persona, EventPusher &events, const TwoFloats &area, bool firstTime, uint32_t seed);
  ~PersonaPlayer() override;

  std::string onTitle(const TitleScreen &title, long frame, bool mayClick, bool &clicked) override;
  void onLoading() override;
  std::string inGame(GamePlayState &game, bool playing) override;
  bool seesPixels() const override { return true; }
  void see(const unsigned char *rgb, int width, int height, const TwoFloats &area) override;
  bool noticedAnswer() override;
  bool gaveUp() const override;
  double triedSeconds() const override;

  // What the screen showed last; moves the mouse through the frame's time.
  // A wanted click waits while mayClick is false.
  void beforeFrame(bool mayClick);
  // What it is doing: "combing the screen".
  const std::string &activity() const { return doing; }

 private:
  enum class Stage { title, starting, playing, travelling, closing };
  // Decides what to do from what it has seen.
  void decide();
  void moveMouse(double until);
  void beginWorld();
  // With MURMEL_PERSONA_TRACE set, each change of what it does goes to standard error.
  void trace();

  const Persona &persona;
  EventPusher &events;
  PixelEyes eyes;
  Glance latest;
  Sight sight;
  MotorModel hand;
  PersonaTitle title;
  std::unique_ptr<PersonaStrategy> world;
  std::unique_ptr<FirstTimePlayer> firstTimer;
  Stage stage = Stage::title;
  // Worlds finished, as counted by their white flashes.
  int worldsDone = 0;
  double nextReport = 0.0;
  TwoFloats pointer;
  bool clicked = false;
  std::string doing = "waiting for the game to load";
  bool tracing;
  std::string traced;
};
