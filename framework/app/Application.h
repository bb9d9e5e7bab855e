#pragma once

#include "base/TwoFloats.h"

#include <boost/shared_ptr.hpp>
#include <string>

class AppSettings;
class CmdLineParams;
class GameStateCreatorBase;
class GlobalData;
class ResourceManager;

// What game states see of the application: quitting, the mouse pointer,
// switching states by name, and the shared services.
class Application {
 public:
  virtual ~Application() = default;

  // Brings the system up; returns normally on every failure.
  virtual void initialise(CmdLineParams &params) = 0;
  // The audio device's callback entry; called on the audio thread.
  virtual void getAudio(float *input, float *output, int numSamples) = 0;
  // Runs until quit() is asked for.
  virtual void eventLoop() = 0;
  // The loop ends before the next frame starts.
  virtual void quit() = 0;
  // In window pixels; a place outside the window goes to its nearest edge,
  // and a NaN coordinate leaves that coordinate of the pointer as it is.
  virtual void setMousePos(const TwoFloats &pos) = 0;
  // "-start state-" names the registered start state; an unknown name changes
  // nothing. The current state is released before the new one is made.
  virtual void nextState(std::wstring stateName, std::wstring parameter) = 0;
  // A name registered twice keeps its first creator.
  virtual void registerGameState(const std::wstring &name, const GameStateCreatorBase *creator, bool isStartState) = 0;
  virtual AppSettings *getAppSettings() const = 0;
  virtual ResourceManager *getResourceManager() const = 0;
  virtual boost::shared_ptr<GlobalData> getGlobalData() const = 0;
};
