#pragma once

#include <string>
#include <vector>

class CallbackTimer;
class MurmelSounder;
class Timeline;

// Keeps every playback slot of the game's sounder busy through one world:
// while that world is played, each frame starts the game's own sounds,
// looping, on every slot that is free, on top of what the world plays
// itself; when the world is done they fade out as instruments do. The world
// should be the last one: a world that follows would find the pool full
// while they fade, and its sounds would not start. Main thread.
class SlotFiller {
 public:
  // timer may be null; when given, the calls it timed while the pool was kept
  // full are remembered as a range of its records.
  SlotFiller(MurmelSounder &sounder, int world, Timeline &timeline, CallbackTimer *timer);

  // Once a frame, before it is drawn: the current world (-1 for none) and
  // whether it is being played (the camera has arrived, it is not done).
  void beforeFrame(int currentWorld, bool played, long frame);

  int world() const { return filledWorld; }
  // The world was played with the pool filled and has been left again.
  bool done() const { return released; }
  // The fewest slots playing right after a frame's filling.
  int fewestBusy() const { return fewest; }
  // The timer's records made while the pool was kept full.
  std::size_t firstCall() const { return callsFrom; }
  std::size_t endCall() const { return callsTo; }
  // Frames of streamed sound, summed over the slots, that the streaming
  // thread did not decode in time while the pool was kept full.
  long long missedFrames() const { return missedAtEnd - missedAtStart; }

 private:
  void fill();
  void release(long frame);

  MurmelSounder &sounder;
  const int filledWorld;
  Timeline &timeline;
  CallbackTimer *timer;
  // The sounds loaded under the game's own names, taken in turn.
  std::vector<std::wstring> names;
  std::size_t nextName = 0;
  std::vector<int> handles;
  bool filling = false;
  bool released = false;
  int fewest = -1;
  std::size_t callsFrom = 0;
  std::size_t callsTo = 0;
  long long missedAtStart = 0;
  long long missedAtEnd = 0;
};
