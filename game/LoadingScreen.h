#pragma once

#include "base/FilePath.h"
#include "framework/app/GameState.h"

#include <vector>

class Sounder;

// The first state: a progress bar while the resource catalogue is loaded,
// one entry per frame (images into the drawer, sound files into the
// sounder), then a fade to black and on to the start state. Main thread only.
class LoadingScreen final : public GameState {
 public:
  LoadingScreen(Application *app, Sounder *sounder);

  void draw(boost::shared_ptr<Drawer> drawer) override;
  std::wstring getName() const override { return L"LoadingScreen"; }

  int getTotalSteps() const { return totalSteps; }
  int getStepsDone() const { return stepsDone; }
  float getFade() const { return fade; }

  static GameStateCreator<LoadingScreen> creator;

 private:
  // Kinds of resources, in loading order; Nothing once all are loaded.
  enum Stage { Atlases = 0, SingleImages, ImageFolders, Shaders, Fonts, Sounds, Nothing };

  void countSteps();
  void loadStep(Drawer &drawer);
  // The first later kind with anything to load; Nothing when none has.
  int nextStage(int after) const;
  int stageSize(int stage) const;

  int totalSteps = 0;
  int stepsDone = 0;
  int stage = Nothing;
  int index = 0;
  // The files of every image folder, listed once when the steps are counted,
  // so the steps taken are the steps counted.
  std::vector<FilePath> folderImages;
  Sounder *sounder;  // not owned
  float fade = 0.0f;
};
