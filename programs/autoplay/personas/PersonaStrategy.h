#pragma once

#include <string>

class MotorModel;
class Sight;

// How a persona plays one screen, as an informed player who knows how it is
// solved and looks at it: once a frame while the screen is in front of it
// (as far as it has taken in), it decides from what it has seen and tells
// the hand what to do. It never sees the game's state, only the Sight.
// Main thread.
class PersonaStrategy {
 public:
  virtual ~PersonaStrategy() = default;

  virtual void act(const Sight &sight, MotorModel &hand) = 0;
  // What it is doing, for the line when the robot gets stuck.
  virtual std::string activity() const = 0;
};
