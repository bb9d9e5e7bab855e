#pragma once

#include "game/World.h"

#include <functional>

class Random;

// Drives a world as the gameplay state does, without a window.
namespace WorldDriver {

// Frames of a world on screen: the gameplay state's steady shrink, then subclassTick().
void frames(World &world, int count);
// Frames until done; how many, or -1 after the limit.
int framesUntilDone(World &world, int limit);
// Steps the shared generator until wanted() holds for a generator that makes
// the next world's draws; false if it never does.
bool stepRandomUntil(const std::function<bool(Random &next)> &wanted);
bool onScreen(const TwoFloats &point, const TwoFloats &areaSize);

}  // namespace WorldDriver
