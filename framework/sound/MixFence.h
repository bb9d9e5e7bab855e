#pragma once

#include <atomic>
#include <thread>

// Lets another thread wait until the audio thread has left the block it is
// mixing. A thread that first removes an object's pointer from everything the
// mix reads and then waits here knows that no call into that object is still
// running on the audio thread, and that no later block can reach it.
//
// The mix brackets every block with enter() and leave(); blocks never run
// concurrently with each other. The pointers the mix calls through must be
// stored and loaded sequentially consistent, like the counter here.
class MixFence {
 public:
  // Audio thread, before anything of the block is read. No allocation, no lock.
  void enter();
  // Audio thread, after the block.
  void leave();
  // Any thread: returns once the block in progress, if any, has ended.
  // Returns at once when called from inside the block itself (a callback
  // unregistering from within its own call).
  void waitForBlock() const;

 private:
  // Odd while a block is being mixed.
  std::atomic<unsigned> sequence{0};
  std::atomic<std::thread::id> mixer{};
};
