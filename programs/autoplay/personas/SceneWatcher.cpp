#include "personas/SceneWatcher.h"

#include "game/GamePlayState.h"
#include "game/TitleScreen.h"
#include "game/World.h"

#include <cmath>

namespace {

// Where and how big TitleScreen draws its "AnyKey" image (340 x 51).
const TwoFloats promptFromCorner(365.0f, 65.0f);
const TwoFloats promptSize(340.0f, 51.0f);

// The white flash's opacity at a phase: 0 at 0 and 1, 1 at 0.5.
float riseAndFall(float phase) { return 1.0f - (std::cos(2.0f * 3.14159265f * phase) * 0.5f + 0.5f); }

}  // namespace

SceneView SceneWatcher::loading(const TwoFloats &area) {
  SceneView view;
  view.area = area;
  return view;
}

SceneView SceneWatcher::title(const TitleScreen &screen, const TwoFloats &area) {
  SceneView view = loading(area);
  view.screen = SceneView::Screen::title;
  view.prompt = screen.getPromptAlpha();
  view.promptCentre = area - promptFromCorner + promptSize * 0.5f;
  view.promptSize = promptSize;
  view.cover = screen.getFadeIn() > 0.0f ? screen.getFadeIn() : screen.getFadeOut();
  return view;
}

SceneView SceneWatcher::game(const GamePlayState &game, const TwoFloats &area) {
  SceneView view = loading(area);
  view.screen = SceneView::Screen::game;
  view.world = game.getCurrentWorld();
  view.travelling = game.getTravel() > 0.0f;
  view.closing = game.isClosing();
  if (!view.closing) {
    const float travel = game.getTravel();
    view.background = game.getWorld(view.world).backgroundColour;
    if (view.travelling)
      view.background = (1.0f - travel) * view.background + travel * game.getWorld(view.world + 1).backgroundColour;
  }
  view.flash = game.isFlashing() ? riseAndFall(game.getFlashPhase()) : 0.0f;
  view.cover = game.getFadeIn() > 0.0f ? game.getFadeIn() : game.getFadeOut();
  addRings(game, view);
  return view;
}

void SceneWatcher::addRings(const GamePlayState &game, SceneView &view) {
  const TwoFloats viewTopLeft = game.getCamera() - view.area * 0.5f;
  const TwoFloats viewBottomRight = viewTopLeft + view.area;
  for (int i = 0; i < GamePlayState::NumWorlds; ++i) {
    const World &world = game.getWorld(i);
    const float side = std::fabs(1024.0f * world.scale);
    const float left = world.ringPositions[0].x - side * 0.5f;
    const float top = world.ringPositions[0].y - side * 0.5f;
    if (!(left + side > viewTopLeft.x && left < viewBottomRight.x && top + side > viewTopLeft.y &&
          top < viewBottomRight.y))
      continue;
    const float sizes[3] = {world.ringSizes.x, world.ringSizes.y, world.ringSizes.z};
    for (int k = 0; k < 3; ++k) {
      SceneView::Ring &ring = view.rings[static_cast<size_t>(view.ringCount++)];
      ring.centre = world.ringPositions[static_cast<size_t>(k)] - viewTopLeft;
      ring.radius = std::fabs(sizes[k] * world.scale * 512.0f);
      ring.colour = world.ringColours[static_cast<size_t>(k)];
      ring.world = i;
      ring.index = k;
    }
  }
}
