#include "platforms/SDL1.2Backend/SDL1.2Application.h"
#include "platforms/SDL1.2Backend/SDL1.2VideoStart.h"

#include "base/Assertion.h"
#include "framework/app/Platform.h"
#include "framework/app/CmdLineParams.h"
#include "framework/app/ConfigFile.h"
#include "framework/app/GameState.h"
#include "base/UTF8File.h"
#include "framework/drawing/Drawer.h"
#include "framework/drawing/ScreenResolution.h"
#include "framework/app/Game.h"
#include "framework/sound/AudioDevice.h"
#include "framework/sound/OutputMeter.h"
#include "framework/sound/Sounder.h"

#include <SDL/SDL_image.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace {

// One line on the standard error, in the program's name.
void warn(const std::string &message) {
  std::fprintf(stderr, "%s: %s\n", UTF8File::toUtf8(AppSettings::applicationName).c_str(), message.c_str());
}

// A coordinate inside a window side of size pixels, as SDL takes it; a NaN
// keeps the pointer's own coordinate.
Uint16 windowPixel(float value, int size, int current) {
  const int last = std::clamp(size - 1, 0, 65535);
  if (std::isnan(value)) return static_cast<Uint16>(std::clamp(current, 0, last));
  return static_cast<Uint16>(std::clamp(value, 0.0f, static_cast<float>(last)));
}

}  // namespace

SDL1_2Application::SDL1_2Application(const Game &game) : game(game), appSettings(&game) {
  game.registerResources(resourceManager);
}

SDL1_2Application::~SDL1_2Application() {
  // No more getAudio calls once these return.
  if (audioDevice) audioDevice->stop();
  standIn.stop();
  for (SDL_Joystick *joystick : joysticks) {
    if (joystick) SDL_JoystickClose(joystick);
  }
  // States detach from the sounder when destroyed, so they go before it.
  currentState.reset();
  sounder.reset();
  if (sdlStarted) {
    IMG_Quit();
    SDL_Quit();
  }
}

void SDL1_2Application::failStartUp(const std::string &cause) {
  warn(cause);
  exitStatus = 1;
  quit();
}

void SDL1_2Application::initialise(CmdLineParams &params) {
  Platform::quietenLibraries();
  GameFlags::registerWith(params, this);

  appSettings.initialise(params, this, keyManager, settingsOutput);
  MW_ASSERT(startState != L"");

  params.handleParameters();
  width = flags.width;
  height = flags.height;
  windowed = flags.windowed;
  const bool helpRequested = flags.helpCount > 0;
  if (helpRequested) quit();
  if (ConfigFile::settingsFolder().getPath().empty())
    warn("no home folder known ($HOME is not set and the user has none): settings are neither read nor saved");
  if (helpRequested) return;
  reportUnsavedSettings();

  globalData = appSettings.getGlobalData();
  reportMissingSounds();

  // Sizes below one pixel count as not given.
  if (width < 1) width = ScreenResolution::getScreenWidth();
  if (height < 1) height = ScreenResolution::getScreenHeight();

  if (!openWindow()) return;

  SDL_JoystickEventState(SDL_ENABLE);
  for (int i = 0; i < SDL_NumJoysticks(); ++i) joysticks.push_back(SDL_JoystickOpen(i));

  startAudio();

  SDL_ShowCursor(SDL_DISABLE);
  IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG);

  currentState = game.createLoadingState(this, sounder.get());
}

void SDL1_2Application::reportUnsavedSettings() const {
  // A first run writes "config.txt"; if it is still no file, nothing the player changes will last.
  const FilePath config = ConfigFile::settingsFilePath(L"config.txt");
  if (!config.getPath().empty() && !config.isFile())
    warn("settings cannot be saved in \"" + ConfigFile::settingsFolder().getUtf8Path() +
         "\" (it is no writable folder, or \"config.txt\" in it is no file); playing with the defaults");
}

void SDL1_2Application::reportMissingSounds() const {
  const FilePath data = FilePath::getDataFilesDir();
  if (data.getPath().empty())
    warn(
        "sound files not found (looked in $MURMEL_WORLDS_DATA, \"../share/murmel-worlds\" and \"data\" beside "
        "the program); playing without them");
  else if (!ResourceManager::soundsFolder().isDirectory())
    warn("no \"sounds\" folder in \"" + data.getUtf8Path() + "\": playing without sound files");
}

bool SDL1_2Application::openWindow() {
  if (!SDL1_2VideoStart::start(SDL_INIT_TIMER | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK)) {
    failStartUp(std::string("cannot open the window: ") + SDL_GetError());
    return false;
  }
  sdlStarted = true;
  // Sound is not needed to play: an audio driver that will not start leaves
  // the device's start to fail, and the silent clock takes over.
  SDL_InitSubSystem(SDL_INIT_AUDIO);

  // Without a display SDL quietly picks an invisible window; a game nobody
  // can see would run for ever. Only a driver the user chose may be one.
  if (SDL1_2VideoStart::onUnchosenStandIn()) {
    failStartUp("cannot open the window: no display (SDL found only its '" + SDL1_2VideoStart::driverName() +
                "' video driver)");
    return false;
  }

  SDL_EnableUNICODE(1);
  SDL_WM_SetCaption(UTF8File::toUtf8(AppSettings::applicationName).c_str(), nullptr);

  if (SDL_GetVideoInfo()->vfmt->BitsPerPixel == 16) {
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
  } else {
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
  }
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  if (vsync) SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);

  // Video is up and no mode is set yet: this is the desktop's size.
  screen = WindowModes::Size{ScreenResolution::getScreenWidth(), ScreenResolution::getScreenHeight()};
  windowModes = WindowModes(WindowModes::Size{width, height}, windowed, screen);
  if (!setVideoMode(WindowModes::Size{width, height}, windowed)) {
    failStartUp(std::string("cannot open the window: ") + SDL_GetError());
    return false;
  }

  drawer = appSettings.getDrawer();
  drawer->initialise(width, height, appSettings);
  return true;
}

SDL_Surface *SDL1_2Application::setVideoMode(const WindowModes::Size &size, bool inWindow) {
  if (inWindow) setenv("SDL_VIDEO_CENTERED", "1", 1);
  return SDL_SetVideoMode(size.width, size.height, 0, inWindow ? SDL_OPENGL : SDL_OPENGL | SDL_FULLSCREEN);
}

bool SDL1_2Application::isFullScreenKey(const SDL_keysym &keysym) {
  if (keysym.sym == SDLK_F11) return true;
  return (keysym.sym == SDLK_RETURN || keysym.sym == SDLK_KP_ENTER) && (keysym.mod & KMOD_ALT);
}

SDL_Surface *SDL1_2Application::restoreVideoMode(const std::string &failure) {
  warn(failure + SDL_GetError());
  SDL_Surface *surface = setVideoMode(WindowModes::Size{width, height}, windowed);
  if (!surface) failStartUp(std::string("lost the window: ") + SDL_GetError());
  return surface;
}

void SDL1_2Application::switchFullScreen() {
  const bool toWindow = !windowed;
  // The OpenGL context, and every texture in it, survives the new mode.
  SDL_Surface *surface = setVideoMode(toWindow ? windowModes.windowed() : windowModes.fullScreen(), toWindow);
  if (surface)
    windowed = toWindow;
  else
    surface = restoreVideoMode(toWindow ? "cannot switch to a window: " : "cannot switch to full screen: ");
  if (!surface) return;
  // Full screen grabs the pointer and the grab outlasts it; with the cursor
  // hidden, a grabbed pointer in a window would neither move nor leave it.
  if (windowed) SDL_WM_GrabInput(SDL_GRAB_OFF);
  width = surface->w;
  height = surface->h;
  drawer->resizeWindow(width, height);
}

bool SDL1_2Application::resizeWindow(int newWidth, int newHeight) {
  // SDL takes a size of 0 for the desktop's.
  if (!drawer || !windowed || newWidth < 1 || newHeight < 1) return false;
  if (newWidth == width && newHeight == height) return true;
  // The OpenGL context, and every texture in it, survives the new mode.
  SDL_Surface *surface = setVideoMode(WindowModes::Size{newWidth, newHeight}, true);
  if (!surface) {
    restoreVideoMode("cannot resize the window: ");
    return false;
  }
  width = surface->w;
  height = surface->h;
  // Full screen keeps the window's shape, which is now this one.
  windowModes = WindowModes(WindowModes::Size{width, height}, true, screen);
  drawer->refitWindow(width, height);
  return true;
}

void SDL1_2Application::startAudio() {
  sounder = appSettings.getSounder();
  std::vector<std::unique_ptr<AudioDevice>> candidates = Platform::audioDevices(flags.audioAPI);
  for (size_t i = 0; i < candidates.size(); ++i) {
    std::unique_ptr<AudioDevice> &device = candidates[i];
    device->setAPI(flags.audioAPI);
    device->setCallback(this);
    device->setCallbackTimer(callbackTimer);
    sounder->setNumChannels(device->getNumInputs(), device->getNumOutputs());
    sounder->setSamplerate(device->getSamplerate());
    if (!device->start()) continue;
    // Opening the device may have changed its format.
    sounder->setNumChannels(device->getNumInputs(), device->getNumOutputs());
    sounder->setSamplerate(device->getSamplerate());
    standIn.setFormat(device->getNumInputs(), device->getNumOutputs(), device->getSamplerate());
    audioDevice = std::move(device);
    if (i + 1 == candidates.size()) warn("sound is off: no audio device could be started");
    break;
  }
  if (flags.mute) sounder->setMute(true);
}

void SDL1_2Application::blockHeardAt(std::chrono::steady_clock::time_point heardAt) {
  standIn.blockHeardAt(heardAt);
}

void SDL1_2Application::getAudio(float *input, float *output, int numSamples) {
  standIn.getAudio(input, output, numSamples);
}

void SDL1_2Application::Mixer::blockHeardAt(std::chrono::steady_clock::time_point heardAt) {
  if (app.sounder) app.sounder->getClock().blockHeardAt(heardAt, app.sounder->getSamplerate());
}

void SDL1_2Application::Mixer::getAudio(float *input, float *output, int numSamples) {
  if (app.sounder) app.sounder->getAudio(input, output, numSamples);
  // Stereo frames, two samples each.
  if (app.outputMeter) app.outputMeter->add(output, 2 * numSamples);
}

void SDL1_2Application::eventLoop() {
  frameStart = std::chrono::steady_clock::now();
  while (runFrame()) paceFrame();
}

void SDL1_2Application::watchAudio() {
  if (audioDevice) standIn.watch(std::chrono::steady_clock::now());
}

bool SDL1_2Application::runFrame() {
  if (quitRequested) return false;
  watchAudio();
  if (frameHook) frameHook->beforeFrame(*this);
  pollEvents();

  MW_ASSERT(drawer.get() != 0);
  // The loop's own reference keeps a state alive that switches states while drawing.
  const boost::shared_ptr<GameState> state = currentState;
  MW_ASSERT(state.get() != 0);
  drawer->beginDrawing();
  state->draw(drawer);
  drawer->endDrawing();
  if (frameHook) frameHook->afterDraw(*this);
  SDL_GL_SwapBuffers();
  ++frameCount;
  return true;
}

void SDL1_2Application::paceFrame() {
  if (!frameCapped) return;
  // Every timer of the game advances per frame; a swap that does not wait for
  // the display would run it too fast, so never run faster than 60 frames a second.
  const auto period =
      std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(framePeriod));
  const auto now = std::chrono::steady_clock::now();
  if (now - frameStart < period) {
    std::this_thread::sleep_until(frameStart + period);
    frameStart += period;
  } else {
    frameStart = now;
  }
}

void SDL1_2Application::pollEvents() {
  // Mice report far more often than once a frame, and the states' gestures
  // expect about one move a frame: queued motion is merged into its latest
  // position, delivered before whatever event follows it.
  SDL_Event event, motion;
  bool moved = false;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_MOUSEMOTION) {
      motion = event;
      moved = true;
      continue;
    }
    if (moved) dispatch(motion);
    moved = false;
    dispatch(event);
  }
  if (moved) dispatch(motion);
}

void SDL1_2Application::dispatch(const SDL_Event &event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: dispatchKey(event.key); break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: dispatchMouse(event); break;
    case SDL_JOYAXISMOTION:
    case SDL_JOYHATMOTION:
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP: dispatchJoystick(event); break;
    default: dispatchWindow(event); break;
  }
}

template <class Call>
void SDL1_2Application::deliver(Call call) {
  // The loop's own reference keeps a state alive that switches states from
  // inside the call.
  const boost::shared_ptr<GameState> state = currentState;
  if (state) call(*state);
}

template <class Call>
void SDL1_2Application::deliverActions(Call call) {
  // An action may switch states: the next one goes to the new state.
  if (actions.empty()) {
    deliver([&](GameState &state) { call(state, std::wstring()); });
    return;
  }
  for (const std::wstring &action : actions) deliver([&](GameState &state) { call(state, action); });
}

void SDL1_2Application::dispatchKey(const SDL_KeyboardEvent &key) {
  SDL_keysym keysym = key.keysym;
  if (isFullScreenKey(keysym)) {
    if (key.type == SDL_KEYDOWN) switchFullScreen();
    return;
  }
  // "C" switches the captions, like a window control: whatever the key
  // bindings say, it reaches no state.
  if (keysym.sym == SDLK_c && !(keysym.mod & (KMOD_CTRL | KMOD_ALT | KMOD_META))) {
    if (key.type == SDL_KEYDOWN) appSettings.captions = !appSettings.captions;
    return;
  }
  const std::wstring keyText(1, static_cast<wchar_t>(keysym.unicode));
  SDLMod mod = keysym.mod;
  const int modifier = keyManager.getModVal(mod);
  keyManager.getActions(keysym, actions);
  if (key.type == SDL_KEYDOWN)
    deliverActions([&](GameState &state, const std::wstring &action) { state.keyDown(action, keyText, modifier); });
  else
    deliverActions([&](GameState &state, const std::wstring &action) { state.keyUp(action, keyText, modifier); });
}

void SDL1_2Application::dispatchMouse(const SDL_Event &event) {
  if (event.type == SDL_MOUSEMOTION) {
    const TwoFloats pos = eventPosition(event.motion.x, event.motion.y);
    deliver([&](GameState &state) { state.mouseMove(pos); });
    return;
  }
  const SDL_MouseButtonEvent &button = event.button;
  const TwoFloats pos = eventPosition(button.x, button.y);
  if (event.type == SDL_MOUSEBUTTONUP)
    deliver([&](GameState &state) { state.mouseUp(button.button, pos); });
  else if (button.button == SDL_BUTTON_WHEELUP || button.button == SDL_BUTTON_WHEELDOWN)
    deliver([&](GameState &state) { state.mouseWheel(button.button == SDL_BUTTON_WHEELDOWN); });
  else
    deliver([&](GameState &state) { state.mouseDown(button.button, pos); });
}

void SDL1_2Application::dispatchJoystick(const SDL_Event &event) {
  switch (event.type) {
    case SDL_JOYAXISMOTION: {
      SDL_JoyAxisEvent axis = event.jaxis;
      keyManager.getActions(axis, actions);
      const float value = static_cast<float>(axis.value) * (1.0f / 32768.0f);
      deliverActions(
          [&](GameState &state, const std::wstring &action) { state.joyMove(action, value, axis.which, axis.axis); });
      break;
    }
    case SDL_JOYHATMOTION: {
      SDL_JoyHatEvent hat = event.jhat;
      keyManager.getActions(hat, actions);
      const std::wstring text = keyManager.getJoyHatText(hat);
      deliverActions([&](GameState &state, const std::wstring &action) { state.keyUp(action, text, 0); });
      break;
    }
    default: {
      SDL_JoyButtonEvent button = event.jbutton;
      keyManager.getActions(button, actions);
      const std::wstring text = keyManager.getJoyButtonText(button);
      if (event.type == SDL_JOYBUTTONDOWN)
        deliverActions([&](GameState &state, const std::wstring &action) { state.keyDown(action, text, 0); });
      else
        deliverActions([&](GameState &state, const std::wstring &action) { state.keyUp(action, text, 0); });
      break;
    }
  }
}

void SDL1_2Application::dispatchWindow(const SDL_Event &event) {
  // Focus, resizing and exposure need nothing: every frame is drawn whole.
  if (event.type == SDL_QUIT) quitRequested = true;
}

void SDL1_2Application::quit() { quitRequested = true; }

void SDL1_2Application::setMousePos(const TwoFloats &pos) {
  // States compute positions freely; only a pixel of the window is a place.
  int x = 0, y = 0;
  SDL_GetMouseState(&x, &y);
  SDL_WarpMouse(windowPixel(pos.x, width, x), windowPixel(pos.y, height, y));
}

void SDL1_2Application::nextState(std::wstring stateName, std::wstring) {
  const std::wstring wanted = stateName == L"-start state-" ? startState : stateName;
  const auto found = gameStates.find(wanted);
  if (found == gameStates.end()) return;
  currentState.reset();
  currentState = found->second->createInstance(this, sounder.get());
}

void SDL1_2Application::registerGameState(const std::wstring &name, const GameStateCreatorBase *creator,
                                          bool isStartState) {
  gameStates.insert(std::make_pair(name, creator));
  if (isStartState) startState = name;
}

AppSettings *SDL1_2Application::getAppSettings() const { return const_cast<AppSettings *>(&appSettings); }

ResourceManager *SDL1_2Application::getResourceManager() const {
  return const_cast<ResourceManager *>(&resourceManager);
}

boost::shared_ptr<GlobalData> SDL1_2Application::getGlobalData() const { return globalData; }

void SDL1_2Application::cmdLineParameterFound(const std::wstring &name, const std::wstring &value) {
  flags.cmdLineParameterFound(name, value);
}

TwoFloats SDL1_2Application::eventPosition(Uint16 x, Uint16 y) const {
  // A grabbed or synthetic event may lie outside the window.
  return mouseToDrawer(
      TwoFloats(static_cast<float>(windowPixel(x, width, 0)), static_cast<float>(windowPixel(y, height, 0))));
}

TwoFloats SDL1_2Application::mouseToDrawer(const TwoFloats &windowPos) const {
  const TwoFloats &window = drawer->getWindowSize();
  const TwoFloats &area = drawer->getDrawingAreaSize();
  return TwoFloats(windowPos.x / window.x * area.x, windowPos.y / window.y * area.y);
}

TwoFloats SDL1_2Application::drawerToMouse(const TwoFloats &areaPos) const {
  const TwoFloats &window = drawer->getWindowSize();
  const TwoFloats &area = drawer->getDrawingAreaSize();
  return TwoFloats(areaPos.x / area.x * window.x, areaPos.y / area.y * window.y);
}

bool SDL1_2Application::is16Bit() const {
  const SDL_VideoInfo *info = SDL_GetVideoInfo();
  return info && info->vfmt && info->vfmt->BitsPerPixel == 16;
}
