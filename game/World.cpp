#include "game/World.h"

#include <cmath>

World::World(const ThreeFloats &background, const ThreeFloats &ring0, const ThreeFloats &ring1,
             const ThreeFloats &ring2, const ThreeFloats &ringSizes, const TwoFloats &position)
    : backgroundColour(background),
      ringColours{ring0, ring1, ring2},
      ringSizes(ringSizes),
      ringPositions{position, position, position},
      homePosition(position) {}

void World::setPosition(const TwoFloats &position) {
  for (TwoFloats &ring : ringPositions) ring = position;
}

void World::setRingColours(const ThreeFloats *colours) {
  for (int k = 0; k < 3; ++k) ringColours[k] = colours[k];
}

float World::distance(const TwoFloats &a, const TwoFloats &b) {
  const float dx = a.x - b.x, dy = a.y - b.y;
  return std::sqrt(dx * dx + dy * dy);
}

float World::colourDistance(const ThreeFloats &a, const ThreeFloats &b) {
  const ThreeFloats d = a - b;
  return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

ThreeFloats World::mix(const ThreeFloats &from, const ThreeFloats &to, float t) { return (1.0f - t) * from + t * to; }

TwoFloats World::glide(const TwoFloats &from, const TwoFloats &to, float fraction, float snapDistance) {
  const TwoFloats next = from + (to - from) * fraction;
  return distance(next, to) < snapDistance ? to : next;
}
