#pragma once

#include "game/World.h"

#include <functional>

class Random;

// Drives a world the way the gameplay state does, without a window.
namespace WorldDriver {

// One frame of the gameplay state for a world on screen: the steady shrink
// (0.001 above 0.05, 0.00005 at or below, only strictly between 0.01 and
// 0.66), then subclassTick().
void frame(World &world);
void frames(World &world, int count);

// Steps the shared generator until wanted() holds for a generator that makes
// the same draws the next world built will make; false after many tries.
bool stepRandomUntil(const std::function<bool(Random &next)> &wanted);

// Whether a screen point lies within an area of the given size.
bool onScreen(const TwoFloats &point, const TwoFloats &areaSize);

}  // namespace WorldDriver
