#include "framework/sound/AudioClock.h"
#include "framework/sound/HeardEvents.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Clock = AudioClock::Clock;

Clock::time_point at(double seconds) {
  return Clock::time_point(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)));
}

}  // namespace

// A device asks for blocks at the pace they play and puts each `latency`
// behind; a bar lies at some frame of one block. The picture, drawing 60
// frames a second, acts on the bar in the first frame at or after the bar is
// heard, whatever the block size, the latency or the bar's place in its block.
TEST(AudioClock, ABarIsTakenInTheFirstPictureFrameAfterItIsHeard) {
  const double rate = 44100.0;
  const struct {
    int block;
    double latency;
    int barBlock, barOffset;
  } cases[] = {{4096, 0.0, 3, 0},    {4096, 0.093, 3, 4095}, {4096, 0.54, 10, 1234}, {2048, 0.12, 21, 700},
               {1024, 0.07, 43, 1023}, {1024, 0.0, 1, 512},  {333, 0.2, 132, 100}};
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << "block " << c.block << ", latency " << c.latency << ", bar at frame "
                                    << c.barOffset << " of block " << c.barBlock);
    AudioClock clock;
    HeardEvents<16> bars;
    const AudioFrame barFrame = static_cast<AudioFrame>(c.barBlock) * c.block + c.barOffset;
    const double heard = static_cast<double>(barFrame) / rate + c.latency;
    long takenInFrame = -1;
    int block = 0;
    for (long picture = 0; picture < 60 * 20 && takenInFrame < 0; ++picture) {
      const double now = picture / 60.0;
      // The blocks due by now, each asked for as the one before it has played.
      for (; block * c.block / rate <= now; ++block) {
        clock.blockHeardAt(at(block * c.block / rate + c.latency), rate);
        if (block == c.barBlock) bars.post(barFrame);
        clock.advance(c.block);
      }
      HeardEvents<16>::Event event;
      if (bars.takeHeard(&clock, at(now), event)) {
        EXPECT_EQ(barFrame, event.frame);
        takenInFrame = picture;
      }
    }
    EXPECT_EQ(static_cast<long>(std::ceil(heard * 60.0 - 1e-9)), takenInFrame);
  }
}

TEST(AudioClock, UntimedClockHearsAtOnceAndFramesAheadFollowTheLastBlock) {
  AudioClock clock;
  EXPECT_TRUE(clock.isHeard(1000000, at(0.0)));
  clock.advance(4096);
  clock.blockHeardAt(at(10.0), 44100.0);
  EXPECT_EQ(4096, clock.mixedFrames());
  // A frame not yet mixed is reckoned as if the blocks followed on.
  EXPECT_NEAR(11.0, std::chrono::duration<double>(clock.heardAt(4096 + 44100).time_since_epoch()).count(), 1e-6);
  EXPECT_FALSE(clock.isHeard(4096, at(9.999)));
  EXPECT_TRUE(clock.isHeard(4096, at(10.0)));
}

TEST(HeardEvents, KeepTheirOrderWaitForTheirFrameAndDropWhatNoRoomIsLeftFor) {
  AudioClock clock;
  clock.blockHeardAt(at(1.0), 1000.0);
  HeardEvents<4> events;
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(events.post(100 * i, i));
  EXPECT_FALSE(events.post(999, 9));
  HeardEvents<4>::Event event;
  // Frame 100 is heard at 1.1 s: only the first is taken at 1.05 s.
  EXPECT_TRUE(events.takeHeard(&clock, at(1.05), event));
  EXPECT_EQ(0, event.value);
  EXPECT_FALSE(events.takeHeard(&clock, at(1.05), event));
  EXPECT_TRUE(events.post(400, 4));
  for (int i = 1; i <= 4; ++i) {
    ASSERT_TRUE(events.takeHeard(&clock, at(2.0), event));
    EXPECT_EQ(i, event.value);
  }
  events.post(500, 5);
  events.clear();
  EXPECT_FALSE(events.takeHeard(nullptr, at(2.0), event));
}
