#include "framework/sound/OutputMeter.h"

#include <gtest/gtest.h>

#include <vector>

// Blocks in turn, with what the meter must have counted after them all.
TEST(OutputMeterTest, CountsAudibleBlocksAndKeepsThePeak) {
  OutputMeter meter;
  const std::vector<std::vector<float>> blocks = {
      {0.0f, 0.0f, 0.0f, 0.0f},         // silence
      {0.0005f, -0.0009f, 0.0f, 0.0f},  // below the silence level: hiss, not sound
      {0.0f, 0.0f, 0.0f, -0.25f},       // one loud sample, last, negative
      {0.1f, 0.1f, 0.1f, 0.1f},         // quieter than the peak so far
      {}};                              // an empty block still counts as mixed
  for (const std::vector<float> &block : blocks) meter.add(block.data(), static_cast<int>(block.size()));
  EXPECT_EQ(meter.blocks(), 5);
  EXPECT_EQ(meter.audibleBlocks(), 2);
  EXPECT_FLOAT_EQ(meter.peak(), 0.25f);
}
