#pragma once

#include "framework/app/AppSettings.h"
#include "framework/app/Application.h"
#include "framework/app/GlobalData.h"
#include "framework/resources/ResourceManager.h"
#include "game/MurmelGame.h"

#include <string>
#include <vector>

// An application without SDL: it records what states ask of it, so a state
// can be driven frame by frame with a RecordingDrawer. Its settings and
// catalogue are the game's, as the real application's are.
class FakeApplication final : public Application {
 public:
  FakeApplication() { game.registerResources(resources); }
  void initialise(CmdLineParams &) override {}
  void getAudio(float *, float *, int) override {}
  void eventLoop() override {}
  void quit() override { ++quitCalls; }
  void setMousePos(const TwoFloats &pos) override { mousePositions.push_back(pos); }
  void nextState(std::wstring stateName, std::wstring) override { requestedStates.push_back(stateName); }
  void registerGameState(const std::wstring &, const GameStateCreatorBase *, bool) override {}
  AppSettings *getAppSettings() const override { return const_cast<AppSettings *>(&settings); }
  ResourceManager *getResourceManager() const override { return const_cast<ResourceManager *>(&resources); }
  boost::shared_ptr<GlobalData> getGlobalData() const override { return globalData; }

  int quitCalls = 0;
  std::vector<TwoFloats> mousePositions;
  std::vector<std::wstring> requestedStates;
  MurmelGame game;
  AppSettings settings{&game};
  ResourceManager resources;
  boost::shared_ptr<GlobalData> globalData{new GlobalData()};
};
