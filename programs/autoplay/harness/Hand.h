#pragma once

#include "base/TwoFloats.h"

class EventPusher;

// The robot's hand on the mouse: it moves the pointer at a person's speed and
// sends at most one motion a frame (the application hands the game at most
// one per frame anyway, the latest). Positions in drawing-area units.
class Hand {
 public:
  // Drawing-area units a frame: a quick flick of the wrist at 60 frames a second.
  static constexpr float defaultSpeed = 128.0f;

  Hand(EventPusher &events, const TwoFloats &start);

  // Once at the start of every frame.
  void newFrame();
  // Towards the target by at most maxStep; true once the pointer is on the
  // target's pixel. Sends nothing when it is already there.
  bool moveToward(const TwoFloats &target, float maxStep = defaultSpeed);
  // A motion event even when the pixel does not change.
  void moveTo(const TwoFloats &target);
  void click();

  // Where the game last saw (or will see) the pointer.
  const TwoFloats &position() const { return where; }
  bool movedThisFrame() const { return moved; }
  // The pointer moved in the frame before this one: what is on the screen now answers that move.
  bool movedLastFrame() const { return movedBefore; }
  EventPusher &getEvents() const { return events; }

 private:
  EventPusher &events;
  TwoFloats where;
  bool moved = false;
  bool movedBefore = false;
};
