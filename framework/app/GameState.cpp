#include "framework/app/GameState.h"

#include "framework/app/Application.h"

boost::shared_ptr<GameState> GameStateCreatorBase::createInstance(Application *, Sounder *) const {
  return boost::shared_ptr<GameState>();
}

GameState::GameState(Application *app, Sounder *) : app(app) {}

void GameState::keyDown(const std::wstring &, const std::wstring &, int) {}
void GameState::keyUp(const std::wstring &, const std::wstring &, int) {}
void GameState::mouseDown(int, const TwoFloats &) {}
void GameState::mouseUp(int, const TwoFloats &) {}
void GameState::mouseMove(const TwoFloats &) {}
void GameState::mouseWheel(bool) {}
void GameState::joyMove(const std::wstring &, float, int, int) {}

void GameState::quit() { app->quit(); }

void GameState::setMousePos(const TwoFloats &pos) { app->setMousePos(pos); }

ResourceManager *GameState::getResourceManager() const { return app->getResourceManager(); }

boost::shared_ptr<GlobalData> GameState::getGlobalData() { return app->getGlobalData(); }

void GameState::nextState(const std::wstring &stateName, const std::wstring &parameter) {
  app->nextState(stateName, parameter);
}
