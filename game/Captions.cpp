#include "game/Captions.h"

#include "framework/app/AppSettings.h"
#include "framework/app/Application.h"
#include "framework/drawing/Drawer.h"
#include "game/SpokenPassages.h"

#include <algorithm>

const wchar_t *const Captions::faceName = L"Quicksand-Light";
const wchar_t *const Captions::fallbackFaceName = L"DejaVuSans";
const wchar_t *const Captions::fontName = L"-caption-";

namespace {

const ThreeFloats black(0.0f, 0.0f, 0.0f);
const ThreeFloats white(1.0f, 1.0f, 1.0f);
const float fadeInStep = 0.05f;
const float fadeOutStep = 0.025f;
// Frames a second as the game is paced, and what a caption needs to be read:
// a second and a half, and a third of a second a word.
const int framesPerSecond = 60;
const int readingFrames = framesPerSecond * 3 / 2;
const int framesPerWord = framesPerSecond / 3;
// A sound that reports its end is given twice its reading time, in case the
// report never comes.
const int heardAllowance = 2;
// From the bottom of the area to the last line's baseline.
const float bottomMargin = 54.0f;
const float maxLineWidth = 1000.0f;
const float bandAlpha = 0.6f;

int wordsIn(const wchar_t *text) {
  int words = 0;
  bool inWord = false;
  for (; *text; ++text) {
    const bool letter = *text != L' ';
    words += letter && !inWord;
    inWord = letter;
  }
  return words;
}

}  // namespace

bool Captions::areOn(const Application *app) {
  const AppSettings *settings = app ? app->getAppSettings() : nullptr;
  return settings && settings->captions;
}

void Captions::passageStarted(const std::wstring &soundName, bool heard) {
  passage = SpokenPassages::indexOf(soundName);
  ending = false;
  // The sound starts with the next block mixed. An end still waiting to be
  // heard is an earlier passage's.
  startFrame = clock ? clock->mixedFrames() : 0;
  startHeard = false;
  finishes.clear();
  alpha = 0.0f;
  layout.clear();
  fontMissingOn = nullptr;
  if (passage < 0) return;
  framesLeft = readingFrames + framesPerWord * wordsIn(SpokenPassages::passages[passage].text);
  if (heard) framesLeft *= heardAllowance;
}

void Captions::soundFinished(const std::wstring &soundName, AudioFrame frame) {
  finishes.post(frame, SpokenPassages::indexOf(soundName));
}

void Captions::draw(Drawer &drawer, bool shown) {
  const AudioClock::Clock::time_point now = AudioClock::Clock::now();
  bool finished = false;
  // A finish of an earlier passage (cut short and replaced) is not this one's.
  for (HeardEvents<4>::Event event; finishes.takeHeard(clock, now, event);)
    finished = finished || (event.value == passage && event.frame >= startFrame);
  if (passage < 0) return;
  startHeard = startHeard || !clock || clock->isHeard(startFrame, now);
  if (!startHeard) return;
  if (finished || --framesLeft <= 0) ending = true;
  alpha = ending ? std::max(0.0f, alpha - fadeOutStep) : std::min(1.0f, alpha + fadeInStep);
  if (shown && alpha > 0.0f) drawCaption(drawer);
  if (ending && alpha <= 0.0f) {
    passage = -1;
    layout.clear();
  }
}

bool Captions::loadFont(Drawer &drawer) {
  const std::wstring probe = std::wstring(fontName) + L"A";
  if (drawer.getInternalImageData(probe)) return true;
  // Searching the font folders again every frame would find nothing new.
  if (fontMissingOn == &drawer) return false;
  drawer.loadFont(faceName, fontSize, fontName);
  if (!drawer.getInternalImageData(probe)) drawer.loadFont(fallbackFaceName, fontSize * 0.85f, fontName);
  if (drawer.getInternalImageData(probe)) return true;
  fontMissingOn = &drawer;
  return false;
}

void Captions::drawCaption(Drawer &drawer) {
  if (!loadFont(drawer)) return;
  const TwoFloats area = drawer.getDrawingAreaSize();
  const float lineWidth = std::min(maxLineWidth, area.x - 120.0f);
  const float left = (area.x - lineWidth) * 0.5f;
  if (layout.isEmpty()) {
    // Fills the layout without showing it, so that its lines can be counted
    // before the caption is placed.
    drawer.drawText(SpokenPassages::passages[passage].text, fontName, layout, TwoFloats(left, 0.0f), lineWidth,
                    TextLayout::Centre, 1.0f, black, 0.0f);
    if (layout.isEmpty()) return;
  }
  // A line starts where the pen goes back to the left; the lines' tallest
  // glyphs give the distance between them.
  int lines = 1;
  float firstTop = layout.glyphs[0].position.y, lastTop = firstTop;
  for (size_t i = 1; i < layout.glyphs.size(); ++i) {
    const TextLayout::GlyphPos &glyph = layout.glyphs[i];
    if (glyph.position.x < layout.glyphs[i - 1].position.x) {
      ++lines;
      lastTop = glyph.position.y;
    } else if (lines == 1) {
      firstTop = std::min(firstTop, glyph.position.y);
    } else {
      lastTop = std::min(lastTop, glyph.position.y);
    }
  }
  const float baseline = area.y - bottomMargin - (lastTop - firstTop);

  // A dark band under the words that fades out above them, so that white
  // words read on the palest world, and a soft shadow around each glyph.
  const float textTop = baseline + firstTop - 8.0f;
  const float fadeTop = textTop - fontSize * 1.5f;
  drawer.fillGradient(TwoFloats(0.0f, fadeTop), TwoFloats(area.x, textTop - fadeTop), black, black, 0.0f,
                      bandAlpha * alpha);
  drawer.fillRect(TwoFloats(0.0f, textTop), TwoFloats(area.x, area.y - textTop), black, bandAlpha * alpha);
  const TwoFloats offsets[] = {TwoFloats(-1.5f, 0.0f), TwoFloats(1.5f, 0.0f), TwoFloats(0.0f, -1.5f),
                               TwoFloats(0.0f, 1.5f), TwoFloats(1.5f, 2.5f)};
  const std::wstring text = SpokenPassages::passages[passage].text;
  for (const TwoFloats &offset : offsets)
    drawer.drawText(text, fontName, layout, TwoFloats(left, baseline) + offset, lineWidth, TextLayout::Centre, 1.0f,
                    black, 0.3f * alpha);
  drawer.drawText(text, fontName, layout, TwoFloats(left, baseline), lineWidth, TextLayout::Centre, 1.0f, white, alpha);
}
