#pragma once

#include "harness/Player.h"
#include "personas/MotorModel.h"
#include "personas/PersonaStrategy.h"
#include "personas/Sight.h"

#include <array>
#include <memory>
#include <string>

class EventPusher;
struct Persona;
struct SceneView;

// A human player model at the controls: it takes in each frame's SceneView
// as a person sees the screen, decides (as an informed player) from what it
// has seen its reaction time before, moves its hand within human limits and
// reports the mouse through SDL's queue at its mouse's rate, several motions
// a frame, as window pixels. It notices a world is done by the white flash.
// Main thread, once before every frame.
class PersonaPlayer final : public Player {
 public:
  PersonaPlayer(const Persona &persona, EventPusher &events, const TwoFloats &area);
  ~PersonaPlayer() override;

  // The screens as a person sees them (SceneWatcher), each through beforeFrame.
  std::string onTitle(const TitleScreen &title, long frame, bool mayClick, bool &clicked) override;
  void onLoading() override;
  std::string inGame(GamePlayState &game, bool playing) override;

  // What the screen shows as this frame begins; moves the mouse through the
  // frame's time. A wanted click waits while mayClick is false.
  void beforeFrame(const SceneView &now, bool mayClick);
  bool clickedThisFrame() const { return clicked; }
  // What it is doing: "touring the colour stations".
  const std::string &activity() const { return doing; }

 private:
  // Decides what to do from what it has seen.
  void decide();
  void moveMouse(double until);

  const Persona &persona;
  EventPusher &events;
  Sight sight;
  MotorModel hand;
  std::unique_ptr<PersonaStrategy> title;
  std::array<std::unique_ptr<PersonaStrategy>, 8> worlds;
  double nextReport = 0.0;
  TwoFloats pointer;
  bool clicked = false;
  std::string doing = "waiting for the game to load";
  TwoFloats area;
};
