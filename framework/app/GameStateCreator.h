#pragma once

#include "framework/app/GameStateCreatorBase.h"

// The factory of one concrete state class T; each T has one static
// `GameStateCreator<T> creator`.
template <class T>
class GameStateCreator final : public GameStateCreatorBase {
 public:
  boost::shared_ptr<GameState> createInstance(Application *app, Sounder *sounder) const override {
    return boost::shared_ptr<GameState>(new T(app, sounder));
  }
};
