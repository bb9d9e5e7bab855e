#pragma once

#include "app/AppSettings.h"
#include "app/Application.h"
#include "app/GlobalData.h"
#include "resources/ResourceManager.h"

#include <string>
#include <vector>

// An application without SDL: it records what states ask of it, so a state
// can be driven frame by frame with a RecordingDrawer.
class FakeApplication final : public Application {
 public:
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
  AppSettings settings;
  ResourceManager resources;
  boost::shared_ptr<GlobalData> globalData{new GlobalData()};
};
