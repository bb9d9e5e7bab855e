#pragma once

#include "framework/app/AppSettings.h"
#include "framework/app/Application.h"
#include "framework/app/CmdLineCallback.h"
#include "framework/app/GameFlags.h"
#include "framework/app/GlobalData.h"
#include "platforms/SDL1.2Backend/SDL1.2KeyManager.h"
#include "framework/app/WindowModes.h"
#include "framework/resources/ResourceManager.h"
#include "framework/sound/AudioDeviceCallback.h"
#include "framework/sound/AudioStandIn.h"

#include <SDL/SDL.h>
#include <boost/shared_ptr.hpp>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

class AudioDevice;
class CallbackTimer;
class Drawer;
class OutputMeter;
class Game;
class GameState;
class Sounder;

// The application over SDL 1.2: owns every long-lived service, brings up the
// window, the drawer, the joysticks and the sound, and runs the one loop
// that hands input to the current game state and has it draw a frame.
// Everything runs on the main thread except getAudio (the audio thread).
class SDL1_2Application final : public Application, public CmdLineCallback, public AudioDeviceCallback {
 public:
  // For tests and automation, on the main thread: beforeFrame runs before a
  // frame's events are polled (push synthetic SDL events, look at the state),
  // afterDraw once the frame is drawn and before the swap (read its pixels).
  class FrameHook {
   public:
    virtual ~FrameHook() = default;
    virtual void beforeFrame(SDL1_2Application &app) = 0;
    virtual void afterDraw(SDL1_2Application &) {}
  };

  // The game is the program's and outlives the application.
  explicit SDL1_2Application(const Game &game);
  ~SDL1_2Application() override;

  SDL1_2Application(const SDL1_2Application &) = delete;
  SDL1_2Application &operator=(const SDL1_2Application &) = delete;

  void initialise(CmdLineParams &params) override;
  // The device's blocks, through the stand-in that keeps time when the
  // device stops asking (AudioStandIn) to the sounder.
  void blockHeardAt(std::chrono::steady_clock::time_point heardAt) override;
  void getAudio(float *input, float *output, int numSamples) override;
  // Frames paced to at most 60 a second, each one runFrame, until quit().
  void eventLoop() override;
  // One frame: the events, the current state's drawing, the swap. False,
  // with nothing done, once quit() was asked for. The browser's main loop
  // calls it, paced by the browser; eventLoop on the desktop.
  bool runFrame();
  void quit() override;
  void setMousePos(const TwoFloats &pos) override;
  void nextState(std::wstring stateName, std::wstring parameter) override;
  void registerGameState(const std::wstring &name, const GameStateCreatorBase *creator, bool isStartState) override;
  AppSettings *getAppSettings() const override;
  ResourceManager *getResourceManager() const override;
  boost::shared_ptr<GlobalData> getGlobalData() const override;

  void cmdLineParameterFound(const std::wstring &name, const std::wstring &value) override;

  // Main thread, between frames: the window, if it is one, takes this pixel
  // size, and the drawing area is fitted to its shape as at a start in a
  // window of that size; the full-screen keys then switch between this size
  // and full screen. True once it has the size. In full screen, for a size
  // below one pixel (a hidden page's canvas) or before the window opens,
  // nothing changes; a size the window will not take is warned about and the
  // window keeps its own.
  bool resizeWindow(int newWidth, int newHeight);
  // Window pixels to drawing-area units: the whole window maps onto the whole area.
  TwoFloats mouseToDrawer(const TwoFloats &windowPos) const;
  // The inverse: a drawing-area position in window pixels, unrounded.
  TwoFloats drawerToMouse(const TwoFloats &areaPos) const;
  bool is16Bit() const;

  // 0, or 1 when start-up failed (no window, no display).
  int getExitStatus() const { return exitStatus; }

  // For tests and automation.
  void setFrameHook(FrameHook *hook) { frameHook = hook; }
  // For automation, before initialise: false draws every frame as fast as the
  // machine can (no 60 Hz cap, no swap control), so frame-stepped timers run fast.
  void setFrameCap(bool capped) {
    frameCapped = capped;
    vsync = capped;
  }
  // For automation, at any time: whether frames are held to 60 a second from
  // now on (the swap control set at start-up stays as it is).
  void paceFrames(bool capped) { frameCapped = capped; }
  // For automation and profiling, before initialise: times every call of
  // the audio device's callback (not owned; must outlive the application).
  void setCallbackTimer(CallbackTimer *timer) { callbackTimer = timer; }
  // Before initialise: every mixed block is measured into it (not owned;
  // must outlive the application).
  void setOutputMeter(OutputMeter *meter) { outputMeter = meter; }
  // Whether frames are held to 60 a second now (paceFrames).
  bool framesPaced() const { return frameCapped; }
  boost::shared_ptr<GameState> getCurrentState() const { return currentState; }
  boost::shared_ptr<Drawer> getDrawer() const { return drawer; }
  Sounder *getSounder() const { return sounder.get(); }
  AudioDevice *getAudioDevice() const { return audioDevice.get(); }
  // Main thread: a silent clock keeps the sound's time while the device gives nothing.
  bool isAudioStandingIn() const { return standIn.isStandingIn(); }
  // Main thread: whether the device still gives blocks, which starts or ends
  // the silent clock. Every frame asks; a platform whose frames may come
  // seconds apart while the thread is free (the page, behind a slow GPU)
  // asks between them too, or a second of silence would take many frames.
  void watchAudio();
  int getWindowWidth() const { return width; }
  int getWindowHeight() const { return height; }
  // Whether the program shows in a window now (F11 and Alt+Enter switch).
  bool isWindowed() const { return windowed; }
  bool isMuted() const { return flags.mute; }
  const std::wstring &getAudioAPI() const { return flags.audioAPI; }
  const std::wstring &getStartState() const { return startState; }
  long getFrameCount() const { return frameCount; }

  // The whole frame time at 60 frames a second.
  static constexpr double framePeriod = 1.0 / 60.0;

 private:
  // Every block, from the device or the stand-in: times the sounder's
  // clock, mixes, measures. On whichever thread asks, one at a time.
  class Mixer final : public AudioDeviceCallback {
   public:
    explicit Mixer(SDL1_2Application &app) : app(app) {}
    void blockHeardAt(std::chrono::steady_clock::time_point heardAt) override;
    void getAudio(float *input, float *output, int numSamples) override;

   private:
    SDL1_2Application &app;
  };

  bool openWindow();
  void startAudio();
  void reportUnsavedSettings() const;
  void reportMissingSounds() const;
  // Drains the event queue; queued mouse motion reaches the state merged.
  void pollEvents();
  void dispatch(const SDL_Event &event);
  void dispatchKey(const SDL_KeyboardEvent &key);
  void dispatchMouse(const SDL_Event &event);
  void dispatchJoystick(const SDL_Event &event);
  void dispatchWindow(const SDL_Event &event);
  // Between full screen and a window, on the keys that every desktop game
  // answers to, whatever the key bindings say.
  static bool isFullScreenKey(const SDL_keysym &keysym);
  void switchFullScreen();
  SDL_Surface *setVideoMode(const WindowModes::Size &size, bool inWindow);
  // After a mode that would not be set: warns, the failure named, and sets
  // the one there was again; null, the program quitting, when even that fails.
  SDL_Surface *restoreVideoMode(const std::string &failure);
  // Hands each action to the state current when it is delivered.
  template <class Call>
  void deliverActions(Call call);
  template <class Call>
  void deliver(Call call);
  // An event's window pixel as a position inside the window.
  TwoFloats eventPosition(Uint16 x, Uint16 y) const;
  void paceFrame();
  void failStartUp(const std::string &cause);

  const Game &game;
  AppSettings appSettings;
  ResourceManager resourceManager;
  boost::shared_ptr<GlobalData> globalData;
  std::unique_ptr<AudioDevice> audioDevice;
  boost::shared_ptr<Drawer> drawer;
  std::unique_ptr<Sounder> sounder;
  Mixer mixer{*this};
  AudioStandIn standIn{mixer};
  SDL1_2KeyManager keyManager;
  std::vector<std::wstring> actions;
  std::vector<SDL_Joystick *> joysticks;
  std::map<std::wstring, const GameStateCreatorBase *> gameStates;
  boost::shared_ptr<GameState> currentState;
  std::wstring startState;
  bool quitRequested = false;
  std::wstring settingsOutput;
  // As the command line and "config.txt" gave them; the window's own below change as it does.
  GameFlags flags;
  int width = -1;
  int height = -1;
  bool windowed = false;
  bool vsync = true;
  bool frameCapped = true;

  bool sdlStarted = false;
  WindowModes windowModes;
  // The desktop's size when the window opened, 0 x 0 when unknown.
  WindowModes::Size screen;
  int exitStatus = 0;
  FrameHook *frameHook = nullptr;
  CallbackTimer *callbackTimer = nullptr;
  OutputMeter *outputMeter = nullptr;
  long frameCount = 0;
  std::chrono::steady_clock::time_point frameStart;
};
