#include "game/TitleScreen.h"

#include "framework/drawing/Drawer.h"
#include "base/Random.h"
#include "game/MurmelSounder.h"

#include <cmath>

GameStateCreator<TitleScreen> TitleScreen::creator;

namespace {

const ThreeFloats black(0.0f, 0.0f, 0.0f);
const ThreeFloats white(1.0f, 1.0f, 1.0f);

float unitRandom() { return Random::getGlobal().nextUnit(); }

}  // namespace

ThreeFloats TitleScreen::randomColour() {
  ThreeFloats colour;
  do {
    colour.x = unitRandom();
    colour.y = unitRandom();
    colour.z = unitRandom();
  } while (std::sqrt((1 - colour.x) * (1 - colour.x) + (1 - colour.y) * (1 - colour.y) +
                     (1 - colour.z) * (1 - colour.z)) < 0.1f);
  return colour;
}

TitleScreen::TitleScreen(Application *app, Sounder *sounder)
    : GameState(app, sounder), sounder(dynamic_cast<MurmelSounder *>(sounder)) {
  colourFrom = randomColour();
  colourTo = randomColour();
  const float inner = unitRandom() * 0.8f + 0.1f;
  const float middle = (1.0f - inner) * 0.01f + inner + unitRandom() * (1.0f - inner) * 0.98f;
  discSizes = ThreeFloats(1.0f, middle, inner);
  // Without the introduction's file nothing would ever end it, and the
  // prompt would never come.
  const bool intro = this->sounder && this->sounder->isKnown(L"Speech_Intro");
  if (this->sounder) captions.setClock(&this->sounder->getClock());
  if (intro)
    this->sounder->triggerSound(L"Speech_Intro", 0.5f, this);
  else
    introOver = true;  // nothing to listen to
  captions.passageStarted(L"Speech_Intro", intro);
}

TitleScreen::~TitleScreen() {
  if (sounder) sounder->unregisterCallback(this);
}

void TitleScreen::soundFinished(const std::wstring &name, AudioFrame frame) {
  captions.soundFinished(name, frame);
  introEnds.post(frame);
}

void TitleScreen::keyDown(const std::wstring &action, const std::wstring &, int) {
  if (action == L"Escape") {
    quit();
    return;
  }
  if (fadeOut <= 0.0f && promptAlpha > 0.0f) fadeOut = 0.02f;
}

void TitleScreen::mouseDown(int, const TwoFloats &) {
  if (promptAlpha > 0.0f) nextState(L"GamePlayState", L"");
}

void TitleScreen::draw(boost::shared_ptr<Drawer> drawer) {
  HeardEvents<4>::Event end;
  if (introEnds.takeHeard(sounder ? &sounder->getClock() : nullptr, AudioClock::Clock::now(), end)) introOver = true;
  // The introduction's caption and the prompt share the bottom of the
  // screen: the prompt follows once the caption has faded, and a caption
  // switched on later stays hidden behind the prompt.
  const bool captionsOn = Captions::areOn(app);
  if (introOver && promptAlpha == 0.0f && !(captionsOn && captions.getPassage() >= 0)) promptAlpha += 0.02f;

  const TwoFloats size = drawer->getDrawingAreaSize();
  const ThreeFloats bg = (1.0f - colourBlend) * colourFrom + colourBlend * colourTo;
  drawer->fillRect(TwoFloats(0, 0), size, bg, 1.0f);

  discColours[0] = ThreeFloats(1.0f - bg.x, 1.0f - bg.y, 1.0f - bg.z);
  discColours[1] = ThreeFloats(1.0f - bg.y, 1.0f - bg.z, 1.0f - bg.x);
  discColours[2] = 0.8f * discColours[0];

  // 1 at the start, falling fast at first and then ever more slowly.
  const float f = discShrink / ((discShrink - 1.0f) * -9.0f + discShrink);
  const float sizes[3] = {discSizes.x, discSizes.y, discSizes.z};
  for (int k = 0; k < 3; ++k) {
    const float r = f * 512.0f * 0.66f * sizes[k];
    const float scale = f * 0.66f * sizes[k];
    drawer->drawImage(L"Circle", TwoFloats(size.x * 0.5f - r, size.y * 0.5f - r), TwoFloats(scale, scale),
                      discColours[k], 1.0f);
  }

  drawer->drawImage(L"Title", TwoFloats(32, 32), TwoFloats(1, 1), white, 1.0f);
  if (promptAlpha != 0.0f)
    drawer->drawImage(L"AnyKey", TwoFloats(size.x - 365, size.y - 65), TwoFloats(1, 1), white, promptAlpha);

  captions.draw(*drawer, captionsOn && promptAlpha == 0.0f);

  colourBlend += 0.005f;
  if (colourBlend >= 1.0f) {
    colourBlend = 0.0f;
    colourFrom = colourTo;
    colourTo = randomColour();
  }
  if (discShrink > 0.01f) discShrink -= 0.0001f;
  if (promptAlpha > 0.0f && promptAlpha < 1.0f) promptAlpha += 0.02f;

  if (fadeIn > 0.0f) {
    drawer->fillRect(TwoFloats(0, 0), size, black, fadeIn);
    fadeIn -= 0.02f;
  } else if (fadeOut > 0.0f) {
    drawer->fillRect(TwoFloats(0, 0), size, black, fadeOut);
    fadeOut += 0.02f;
    // The state's last act.
    if (fadeOut > 1.0f) nextState(L"GamePlayState", L"");
  }
}
