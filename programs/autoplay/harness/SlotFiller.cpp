#include "harness/SlotFiller.h"

#include "harness/Timeline.h"

#include "framework/resources/ResourceManager.h"
#include "framework/sound/CallbackTimer.h"
#include "game/MurmelSounder.h"
#include "game/MurmelGame.h"

#include <algorithm>

SlotFiller::SlotFiller(MurmelSounder &sounder, int world, Timeline &timeline, CallbackTimer *timer)
    : sounder(sounder), filledWorld(world), timeline(timeline), timer(timer) {}

void SlotFiller::beforeFrame(int currentWorld, bool played, long frame) {
  if (released) return;
  if (currentWorld == filledWorld && played) {
    if (!filling) {
      filling = true;
      // Loaded by now, by the loading screen.
      for (const std::wstring &name : MurmelGame::soundNames())
        if (sounder.isKnown(name)) names.push_back(name);
      timeline.mark("every slot busy", frame);
      if (timer) callsFrom = timer->recordedCount();
      missedAtStart = sounder.getMissedFrames();
    }
    fill();
  } else if (filling) {
    release(frame);
  }
}

void SlotFiller::fill() {
  // activateSound answers -1 only for a full pool: every name here is known.
  while (!names.empty()) {
    const int handle = sounder.activateSound(names[nextName]);
    if (handle < 0) break;
    nextName = (nextName + 1) % names.size();
    handles.push_back(handle);
  }
  const int busy = sounder.getNumActiveSlots();
  fewest = fewest < 0 ? busy : std::min(fewest, busy);
}

void SlotFiller::release(long frame) {
  if (timer) callsTo = timer->recordedCount();
  missedAtEnd = sounder.getMissedFrames();
  // Handles whose sound has ended meanwhile are ignored by the sounder.
  for (int handle : handles) sounder.deactivateSound(handle);
  handles.clear();
  filling = false;
  released = true;
  timeline.mark("slots released", frame);
}
