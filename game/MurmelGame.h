#pragma once

#include "framework/app/Game.h"

#include <string>
#include <vector>

// Murmel Worlds as the framework meets it: a 1280 x 720 area that takes the
// window's shape, the title and gameplay states, the cursor, Escape and
// action keys, the game's sounder, and the disc image, the text atlas and
// the eighteen sounds.
class MurmelGame final : public Game {
 public:
  void initialise(AppSettings &settings, Application &app, KeyManager &keys) const override;
  std::unique_ptr<Sounder> createSounder() const override;
  // The disc image, the text atlas and the eighteen sounds (none when the
  // data folder has no "sounds").
  void registerResources(ResourceManager &resources) const override;
  boost::shared_ptr<GameState> createLoadingState(Application *app, Sounder *sounder) const override;

  // The sound files the game ships, in catalogue order, without extension.
  static const std::vector<std::wstring> &soundNames();
};
