#include "support/GamePlayDriver.h"

#include "game/GamePlayState.h"
#include "game/World0.h"
#include "game/World1.h"
#include "game/World2.h"
#include "game/World3.h"
#include "game/World4.h"
#include "game/World5.h"
#include "game/World6.h"
#include "game/World7.h"

void GamePlayDriver::finish(GamePlayState &state, int index) {
  World &world = state.getWorld(index);
  switch (index) {
    case 0: static_cast<World0 &>(world).done = true; break;
    case 1: static_cast<World1 &>(world).done = true; break;
    case 2: static_cast<World2 &>(world).done = true; break;
    case 3: static_cast<World3 &>(world).done = true; break;
    case 4: static_cast<World4 &>(world).done = true; break;
    case 5: static_cast<World5 &>(world).done = true; break;
    case 6: static_cast<World6 &>(world).done = true; break;
    default: static_cast<World7 &>(world).done = true; break;
  }
}

int GamePlayDriver::framesUntil(GamePlayState &state, Drawer &drawer, const std::function<bool()> &done, int limit) {
  const boost::shared_ptr<Drawer> shared(&drawer, [](Drawer *) {});
  int frames = 0;
  while (!done() && frames < limit) {
    state.draw(shared);
    ++frames;
  }
  return frames;
}

void GamePlayDriver::playTo(GamePlayState &state, Drawer &drawer, int world) {
  while (state.getCurrentWorld() < world) {
    const int from = state.getCurrentWorld();
    finish(state, from);
    framesUntil(state, drawer, [&] { return state.getCurrentWorld() > from; });
  }
}
