#include "perfect/World0Solver.h"

#include "harness/Hand.h"

#include "game/World0.h"

#include <cmath>

namespace {

// The colours answer within this distance of the spot.
const float warmRange = 256.0f;
// Each frame the world lets the point it measures glide this fraction of the
// way to the spot, so a reading taken a frame after a move is this much short.
const float glideFraction = 0.05f;
// Hidden spots lie between 256 and 360 units from the centre: a ring between
// comes within range of any of them.
const float sweepRadius = 308.0f;
const int sweepStepsPerTurn = 16;

}  // namespace

World0Solver::World0Solver(World0 &world) : world(world) {}

std::string World0Solver::stage() const {
  if (resting) return "resting on the hidden spot";
  return located ? "homing in on the warmth" : "sweeping for warmth";
}

bool World0Solver::readDistance(float &distance) const {
  const ThreeFloats &bg = world.backgroundColour, &cool = world.coolBackground, &warm = world.warmBackground;
  if (World::sameColour(bg, cool)) return false;
  // The background blends from warm to cool with distance / range; the three
  // channels each tell it, their mean most precisely.
  const float t = ((bg.x - warm.x) / (cool.x - warm.x) + (bg.y - warm.y) / (cool.y - warm.y) +
                   (bg.z - warm.z) / (cool.z - warm.z)) /
                  3.0f;
  distance = t * warmRange / (1.0f - glideFraction);
  return true;
}

bool World0Solver::locate(TwoFloats &spot) const {
  if (readings.size() < 3) return false;
  // Subtracting the first circle's equation from the others leaves linear
  // equations in the spot: solved by least squares.
  const Reading &first = readings.front();
  double a11 = 0, a12 = 0, a22 = 0, b1 = 0, b2 = 0;
  for (size_t i = 1; i < readings.size(); ++i) {
    const Reading &r = readings[i];
    const double ax = 2.0 * (r.position.x - first.position.x), ay = 2.0 * (r.position.y - first.position.y);
    const double b = double(first.distance) * first.distance - double(r.distance) * r.distance +
                     double(r.position.x) * r.position.x + double(r.position.y) * r.position.y -
                     double(first.position.x) * first.position.x - double(first.position.y) * first.position.y;
    a11 += ax * ax;
    a12 += ax * ay;
    a22 += ay * ay;
    b1 += ax * b;
    b2 += ay * b;
  }
  const double determinant = a11 * a22 - a12 * a12;
  // Readings in a line leave the spot on either side of it.
  if (determinant < 1e-3 * (a11 + a22) * (a11 + a22)) return false;
  spot = TwoFloats(static_cast<float>((b1 * a22 - b2 * a12) / determinant),
                   static_cast<float>((a11 * b2 - a12 * b1) / determinant));
  return true;
}

void World0Solver::sweep(Hand &hand) {
  const TwoFloats target = world.screenCentre() + TwoFloats(std::sin(sweepAngle), std::cos(sweepAngle)) * sweepRadius;
  if (!hand.moveToward(target)) return;
  sweepAngle += 2.0f * 3.1415927f / sweepStepsPerTurn;
  ++sweepSteps;
}

void World0Solver::play(Hand &hand) {
  if (World::sameColour(world.backgroundColour, world.warmBackground)) {
    // All warm: the hand is on the spot. Keep still while the world grows.
    resting = true;
    return;
  }
  resting = false;
  float distance;
  // The colours answer the last move only; without one they go on warming by themselves.
  if (hand.movedLastFrame() && readDistance(distance)) readings.push_back(Reading{hand.position(), distance});

  TwoFloats spot;
  located = locate(spot);
  if (!located) {
    sweep(hand);
    return;
  }
  const TwoFloats &area = world.drawingAreaSize;
  spot = TwoFloats(std::fmin(std::fmax(spot.x, 0.0f), area.x), std::fmin(std::fmax(spot.y, 0.0f), area.y));
  if (hand.moveToward(spot) && !hand.movedThisFrame()) {
    // On the worked-out spot, and still not warm: read again from close by.
    readings.clear();
    hand.moveTo(spot + TwoFloats(8.0f, 0.0f));
  }
}
