#pragma once

#include <string>

class Hand;

// How the robot plays one world. Once a frame while its world is played (no
// camera journey, not yet done) it looks at the world as a person looks at
// the screen and moves the hand. Main thread.
class WorldSolver {
 public:
  virtual ~WorldSolver() = default;

  virtual void play(Hand &hand) = 0;
  // What it is doing there, for the line when the robot gets stuck.
  virtual std::string stage() const = 0;
};
