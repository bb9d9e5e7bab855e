#include "perfect/World5Solver.h"

#include "harness/EventPusher.h"
#include "harness/Hand.h"

namespace {

// Moves shorter than this count as calm.
const float calmStep = 4.0f;
const int stepsPerSide = 8;

}  // namespace

void World5Solver::play(Hand &hand) {
  const TwoFloats pixel = hand.getEvents().pixelSize();
  const int side = (step / stepsPerSide) % 4;
  step += 1;
  // Right, down, left, up: back where it began after each round.
  const TwoFloats direction = side == 0   ? TwoFloats(1, 0)
                              : side == 1 ? TwoFloats(0, 1)
                              : side == 2 ? TwoFloats(-1, 0)
                                          : TwoFloats(0, -1);
  TwoFloats move(direction.x * pixel.x, direction.y * pixel.y);
  // On a window so small that one pixel is no small move, a motion that stays on its pixel.
  if (pixel.x >= calmStep || pixel.y >= calmStep) move = TwoFloats(0, 0);
  hand.moveTo(hand.position() + move);
}
